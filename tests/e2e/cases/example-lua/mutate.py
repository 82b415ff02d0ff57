"""Writes token mutations of Lua programs: for each program, COUNT variants that delete one
token, insert one before a token, or replace one, chosen by a fixed linear congruential
sequence, so the same programs always give the same variants. The tokenizer is a plain one
for valid programs; the inserted and replacing tokens come from a fixed list and from the
program itself.
usage: mutate.py OUTDIR COUNT PROGRAM..."""
import os
import re
import sys

TOKEN = re.compile(r"""
    (?P<skip>\s+|--\[(?P<c>=*)\[.*?\](?P=c)\]|--[^\n]*)
  | (?P<long>\[(?P<s>=*)\[.*?\](?P=s)\])
  | (?P<string>"(?:\\.|\\\n|[^"\\\n])*"|'(?:\\.|\\\n|[^'\\\n])*')
  | (?P<number>0[xX][0-9A-Fa-f]+(?:[pP][0-9]+)?|(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][+-]?[0-9]+)?)
  | (?P<name>[A-Za-z_][A-Za-z0-9_]*)
  | (?P<op>\.\.\.|\.\.|==|~=|<=|>=|[-+*/%^#<>=(){}\[\];:,.])
""", re.VERBOSE | re.DOTALL)

VOCABULARY = ["(", ")", "{", "}", "[", "]", "=", ",", ";", ":", ".", "..", "...", "==", "+", "-",
              "#", "^", "and", "not", "end", "then", "do", "else", "elseif", "until", "in",
              "local", "function", "return", "break", "if", "while", "for", "repeat", "nil",
              "x", "1", "0x10", "'s'", "[[s]]", "\n("]


def tokens(text):
    # A first line that begins with '#' is no Lua: the interpreter skips it.
    found, at = [], text.find("\n") if text.startswith("#") else 0
    while at < len(text):
        m = TOKEN.match(text, at)
        if m is None:
            sys.exit("cannot tokenize at offset %d" % at)
        if m.lastgroup != "skip":
            found.append((m.start(), m.end()))
        at = m.end()
    return found


class Sequence:
    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def below(self, n):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return (self.state >> 8) % n


def main():
    outdir, count, programs = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    for number, path in enumerate(programs):
        with open(path, encoding="latin-1", newline="") as f:
            text = f.read()
        spans = tokens(text)
        if not spans:
            continue
        words = VOCABULARY + [text[a:b] for a, b in spans]
        seq = Sequence(number * 7919 + len(text))
        base = os.path.splitext(os.path.basename(path))[0]
        for i in range(count):
            a, b = spans[seq.below(len(spans))]
            how = seq.below(3)
            word = words[seq.below(len(words))]
            if how == 0:
                mutant = text[:a] + text[b:]
            elif how == 1:
                mutant = text[:a] + word + " " + text[a:]
            else:
                mutant = text[:a] + word + text[b:]
            name = "%s-%03d-%s.lua" % (base, i, ("delete", "insert", "replace")[how])
            with open(os.path.join(outdir, name), "w", encoding="latin-1", newline="") as f:
                f.write(mutant)


main()
