#!/usr/bin/env python3
"""Writes a large valid JSON document (RFC 8259), for the translator benchmark.

The document is one array of records that grows until the output reaches the requested size.
A record is an object of nested objects and arrays (at most six levels below it); strings carry
every escape, \\u sequences (surrogate pairs among them) and UTF-8 text of two, three and four
bytes; numbers come in every form (zero, negative, fractions, exponents with and without a
sign, in both cases); true, false and null appear as values. Some records are indented, one
member or element a line, the others written on one line, so that about a fifth of the text is
white space (blanks, line ends, now and then a tab or a carriage return). The same seed and size
give the same text.

usage: json_documents.py SIZE OUTPUT [--seed N]
  SIZE is a byte count with an optional k or M suffix (for example 50M); the document ends with
  the first record that reaches it, so it is a little longer.
"""

import argparse
import random
import sys

KEYS = ["id", "name", "type", "value", "count", "items", "tags", "owner", "created", "updated",
        "enabled", "ratio", "score", "children", "parent", "path", "note", "size", "limits",
        "title", "description", "language", "coordinates", "metadata", "version", "flags"]
WORDS = ["alpha", "beta", "gamma", "delta", "river", "stone", "window", "quiet", "orange",
         "summer", "north", "signal", "paper", "engine", "harbor", "lantern", "meadow", "copper"]
# Text beyond ASCII, written as UTF-8: two, three and four bytes a character.
UNICODE = ["café", "naïve", "Straße", "größe", "жизнь", "λόγος", "東京", "日本語", "한국어",
           "ℵ₀", "€", "🙂", "🎉", "𝄞"]
ESCAPES = ["\\\"", "\\\\", "\\/", "\\b", "\\f", "\\n", "\\r", "\\t", "\\u00e9", "\\u0000",
           "\\u20AC", "\\uD83D\\uDE00", "\\u001f", "\\uFFFF"]
MAX_DEPTH = 6


class Writer:
    """Writes the document as UTF-8 and counts its bytes."""

    def __init__(self, rng, out):
        self.rng = rng
        self.out = out
        self.size = 0

    def write(self, text):
        data = text.encode("utf-8")
        self.out.write(data)
        self.size += len(data)


def string(rng):
    parts = []
    for _ in range(rng.choice([1, 1, 2, 3, 4, 6])):
        roll = rng.random()
        if roll < 0.12:
            parts.append(rng.choice(ESCAPES))
        elif roll < 0.22:
            parts.append(rng.choice(UNICODE))
        else:
            parts.append(rng.choice(WORDS))
    return '"' + rng.choice(["", " ", "-", "_"]).join(parts) + '"'


def number(rng):
    roll = rng.random()
    if roll < 0.05:
        return rng.choice(["0", "-0", "0.0", "-0.0"])
    if roll < 0.45:
        return str(rng.randint(-1000, 100000))
    if roll < 0.55:
        return str(rng.randint(-(1 << 62), 1 << 62))
    text = ("-" if rng.random() < 0.3 else "") + str(rng.randint(0, 999))
    if roll < 0.85:
        text += "." + str(rng.randint(0, 999999)).zfill(rng.randint(1, 6))
    if roll >= 0.75:
        text += rng.choice(["e", "E"]) + rng.choice(["", "+", "-"]) + str(rng.randint(0, 308))
    return text


def value(rng, depth):
    roll = rng.random()
    if depth < MAX_DEPTH and roll < 0.12:
        return ("object", obj(rng, depth + 1))
    if depth < MAX_DEPTH and roll < 0.22:
        return ("array", arr(rng, depth + 1))
    if roll < 0.50:
        return ("leaf", string(rng))
    if roll < 0.82:
        return ("leaf", number(rng))
    return ("leaf", rng.choice(["true", "false", "null"]))


def obj(rng, depth):
    return [(string_key(rng), value(rng, depth)) for _ in range(rng.choice([0, 1, 2, 3, 4, 5, 6]))]


def arr(rng, depth):
    return [value(rng, depth) for _ in range(rng.choice([0, 1, 2, 3, 4, 8]))]


def string_key(rng):
    if rng.random() < 0.05:
        return string(rng)
    return '"' + rng.choice(KEYS) + '"'


def line_end(rng):
    roll = rng.random()
    return "\r\n" if roll < 0.05 else "\n"


def indent(rng, level):
    return "\t" * level if rng.random() < 0.05 else "  " * level


def render(rng, node, level, pretty):
    """The text of a node; pretty puts each member or element on its own indented line."""
    kind, content = node
    if kind == "leaf":
        return content
    opener, closer = ("{", "}") if kind == "object" else ("[", "]")
    if not content:
        return opener + closer
    if kind == "object":
        items = [key + (": " if pretty or rng.random() < 0.5 else ":") + render(rng, sub, level + 1, pretty)
                 for key, sub in content]
    else:
        items = [render(rng, sub, level + 1, pretty) for sub in content]
    if not pretty:
        return opener + (", " if rng.random() < 0.4 else ",").join(items) + closer
    inner = ["," + line_end(rng) + indent(rng, level + 1) + item for item in items]
    inner[0] = line_end(rng) + indent(rng, level + 1) + items[0]
    return opener + "".join(inner) + line_end(rng) + indent(rng, level) + closer


def document(w, target):
    rng = w.rng
    w.write("[\n")
    first = True
    while first or w.size < target:
        record = ("object", [('"id"', ("leaf", str(w.size)))] + obj(rng, 1))
        w.write(("" if first else ",\n") + " " + render(rng, record, 1, rng.random() < 0.35))
        first = False
    w.write("\n]\n")


def parse_size(text):
    scale = {"k": 1 << 10, "K": 1 << 10, "M": 1 << 20}.get(text[-1:], 1)
    digits = text[:-1] if scale > 1 else text
    if not digits.isdigit():
        raise argparse.ArgumentTypeError("size must be a number with an optional k or M: " + text)
    return int(digits) * scale


def main():
    parser = argparse.ArgumentParser(description="Writes a large valid JSON document.")
    parser.add_argument("size", type=parse_size)
    parser.add_argument("output")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    with open(args.output, "wb") as out:
        document(Writer(random.Random(args.seed), out), args.size)
    return 0


if __name__ == "__main__":
    sys.exit(main())
