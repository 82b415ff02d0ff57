#!/usr/bin/env python3
"""Writes a large valid PL/0 program in the language of examples/pl0/pl0.lang, for the
translator benchmark.

The program is one main block whose procedure list grows until the output reaches the
requested size; each procedure has constants, variables, nested procedures and a body of
assignments, calls, conditionals, loops and both spellings of input and output. Keywords come
in any case, lines are indented by their nesting depth, so that about a third of the text is
white space. The same seed and size give the same text.

usage: pl0_programs.py SIZE OUTPUT [--seed N]
  SIZE is a byte count with an optional k or M suffix (for example 10M); the program ends with
  the first procedure that reaches it, so it is a little longer.
"""

import argparse
import random
import sys

KEYWORDS = {"const", "var", "procedure", "call", "begin", "end", "if", "then", "while", "do",
            "odd", "read", "write"}
RELATIONS = ["=", "#", "<", "<=", ">", ">="]
SYLLABLES = ["ka", "lo", "mi", "nu", "pe", "ra", "si", "to", "vu", "ze", "bar", "dex", "fin",
             "gol", "hap", "jin", "kor", "lum", "max", "nor", "sum", "val", "x", "y", "n"]
MAX_PROCEDURE_DEPTH = 3
MAX_STATEMENT_DEPTH = 4
MAX_EXPRESSION_DEPTH = 3


class Writer:
    """Collects the program's lines, each indented by its depth."""

    def __init__(self, rng, out):
        self.rng = rng
        self.out = out
        self.size = 0
        self.names = 0

    def line(self, depth, text):
        piece = "   " * depth + text + "\n"
        self.out.write(piece)
        self.size += len(piece)

    def kw(self, word):
        """A keyword mostly in a spelling programs use (small, capital or capitalised letters),
        now and then with each letter's case drawn."""
        roll = self.rng.random()
        if roll < 0.6:
            return word
        if roll < 0.8:
            return word.upper()
        if roll < 0.97:
            return word.capitalize()
        return "".join(c.upper() if self.rng.random() < 0.5 else c for c in word)

    def name(self):
        """An identifier that no keyword spelling equals, in any case."""
        while True:
            parts = self.rng.randint(1, 3)
            text = "".join(self.rng.choice(SYLLABLES) for _ in range(parts))
            if self.rng.random() < 0.4:
                text += str(self.rng.randint(0, 99))
            if self.rng.random() < 0.2:
                text = text.capitalize()
            if text.lower() not in KEYWORDS:
                return text


def factor(w, depth):
    roll = w.rng.random()
    if depth < MAX_EXPRESSION_DEPTH and roll < 0.12:
        return "(" + expression(w, depth + 1) + ")"
    if roll < 0.55:
        return w.name()
    return str(w.rng.randint(0, 9999))


def term(w, depth):
    text = factor(w, depth)
    for _ in range(w.rng.choice([0, 0, 0, 1, 1, 2])):
        text += w.rng.choice([" * ", " / ", "*"]) + factor(w, depth)
    return text


def expression(w, depth=0):
    text = ""
    if w.rng.random() < 0.1:
        text = w.rng.choice(["-", "+", "- "])
    text += term(w, depth)
    for _ in range(w.rng.choice([0, 1, 1, 2, 3])):
        text += w.rng.choice([" + ", " - ", "+", "-"]) + term(w, depth)
    return text


def condition(w):
    if w.rng.random() < 0.15:
        return w.kw("odd") + " " + expression(w)
    return expression(w) + " " + w.rng.choice(RELATIONS) + " " + expression(w)


def statement(w, depth, indent, last):
    """Writes one statement at indent; last says whether it ends its list (no semicolon)."""
    end = "" if last else ";"
    roll = w.rng.random()
    nested = depth < MAX_STATEMENT_DEPTH
    if nested and roll < 0.10:
        w.line(indent, w.kw("begin"))
        statements(w, depth + 1, indent + 1)
        w.line(indent, w.kw("end") + end)
    elif nested and roll < 0.20:
        w.line(indent, w.kw("if") + " " + condition(w) + " " + w.kw("then"))
        statement(w, depth + 1, indent + 1, last)
    elif nested and roll < 0.27:
        w.line(indent, w.kw("while") + " " + condition(w) + " " + w.kw("do"))
        statement(w, depth + 1, indent + 1, last)
    elif roll < 0.35:
        w.line(indent, w.kw("call") + " " + w.name() + end)
    elif roll < 0.39:
        w.line(indent, w.rng.choice(["? ", "?", w.kw("read") + " "]) + w.name() + end)
    elif roll < 0.43:
        w.line(indent, w.rng.choice(["! ", "!", w.kw("write") + " "]) + expression(w) + end)
    elif roll < 0.45:
        w.line(indent, end)  # the empty statement
    else:
        w.line(indent, w.name() + " := " + expression(w) + end)


def statements(w, depth, indent):
    count = w.rng.randint(1, 6)
    for i in range(count):
        statement(w, depth, indent, i == count - 1)


def block(w, depth, indent, body_ends):
    """Writes declarations, procedures and the body; body_ends follows the body's last line."""
    if w.rng.random() < 0.5:
        consts = [w.name() + " = " + str(w.rng.randint(0, 999)) for _ in range(w.rng.randint(1, 4))]
        w.line(indent, w.kw("const") + " " + ", ".join(consts) + ";")
    if w.rng.random() < 0.8:
        names = [w.name() for _ in range(w.rng.randint(1, 5))]
        w.line(indent, w.kw("var") + " " + ", ".join(names) + ";")
    if depth < MAX_PROCEDURE_DEPTH:
        for _ in range(w.rng.choice([0, 0, 1, 1, 2])):
            procedure(w, depth + 1, indent)
    body(w, indent, body_ends)


def body(w, indent, ends):
    w.line(indent, w.kw("begin"))
    statements(w, 1, indent + 1)
    w.line(indent, w.kw("end") + ends)


def procedure(w, depth, indent):
    w.line(indent, w.kw("procedure") + " " + w.name() + ";")
    block(w, depth, indent + 1, ";")
    w.line(0, "")


def program(w, target):
    w.line(0, w.kw("const") + " limit = 1000, step = 7;")
    w.line(0, w.kw("var") + " x, y, total;")
    w.line(0, "")
    while w.size < target:
        procedure(w, 1, 0)
    body(w, 0, ".")


def parse_size(text):
    scale = {"k": 1 << 10, "K": 1 << 10, "M": 1 << 20}.get(text[-1:], 1)
    digits = text[:-1] if scale > 1 else text
    if not digits.isdigit():
        raise argparse.ArgumentTypeError("size must be a number with an optional k or M: " + text)
    return int(digits) * scale


def main():
    parser = argparse.ArgumentParser(description="Writes a large valid PL/0 program.")
    parser.add_argument("size", type=parse_size)
    parser.add_argument("output")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    with open(args.output, "w", encoding="ascii", newline="\n") as out:
        program(Writer(random.Random(args.seed), out), args.size)
    return 0


if __name__ == "__main__":
    sys.exit(main())
