#!/usr/bin/env python3
"""Writes a description with a large lexicon, to time `parvolen --prefix` on it: 1,000
keywords, 100 symbols and 50 [Tokens] lines (white space and two comment forms to skip,
fragments, identifiers, numbers in several bases and with units, strings, characters,
directives and more). The grammar is a list of items, one production an item per terminal, so that every
terminal is used and one terminal decides every choice. The same arguments give the same text.

usage: big_lexicon.py OUTPUT
"""

import itertools
import random
import sys

KEYWORDS = 1000
SYMBOLS = 100
SYLLABLES = ["ba", "ce", "di", "fo", "gu", "ha", "je", "ki", "lo", "mu", "na", "pe", "qui", "ro",
             "su", "ta", "ve", "wo", "xi", "yu", "za", "st", "tr", "pl", "ng"]
# Symbol characters; none begins a token below (# and $ do), none is a letter or a digit.
SYMBOL_CHARACTERS = "!%&*+-./:;<=>?@^|~()[]{},"
UNITS = ["px", "em", "pt", "cm", "mm", "ms", "ns", "kb", "mb", "gb", "deg", "rad", "hz", "kg", "lb"]
DIRECTIVES = ["define", "include", "pragma", "undef", "line", "error", "warning", "region",
              "endregion", "elif"]


def keywords(rng):
    """KEYWORDS distinct words of two to four syllables."""
    words = []
    seen = set()
    while len(words) < KEYWORDS:
        word = "".join(rng.choice(SYLLABLES) for _ in range(rng.randint(2, 4)))
        if word not in seen:
            seen.add(word)
            words.append(word)
    return words


def symbols():
    """SYMBOLS distinct symbols: every character alone, then pairs, then triples."""
    found = []
    for length in (1, 2, 3):
        for combination in itertools.product(SYMBOL_CHARACTERS, repeat=length):
            text = "".join(combination)
            # "//" and "/*" open comments.
            if "//" in text or "/*" in text:
                continue
            found.append(text)
            if len(found) == SYMBOLS:
                return found
    return found


def tokens():
    """The [Tokens] lines: (name, pattern), a name in braces for skip lines and fragments."""
    lines = [
        ("{skip}", r"[ \t\r\n]+"),
        ("{skip}", r'"//"[^\n]*'),
        ("{skip}", r'"/*"([^*]|\*+[^*/])*\*+"/"'),
        ("{digit}", r"[0-9]"),
        ("{hexdigit}", r"[0-9A-Fa-f]"),
        ("{letter}", r"[A-Za-z_]"),
        ("{exponent}", r"[eE][+-]?{digit}+"),
        ("{escape}", r"""\\(["'\\/abfnrtv0]|x{hexdigit}{2}|u{hexdigit}{4}|U{hexdigit}{8})"""),
        ("identifier", r"{letter}({letter}|{digit})*"),
        ("decimal", r"(0|[1-9]{digit}*)[uUlL]?"),
        ("hex", r"0[xX]{hexdigit}+"),
        ("octal", r"0[oO][0-7]+"),
        ("binary", r"0[bB][01]+"),
        ("float", r"{digit}+\.{digit}*{exponent}?|\.{digit}+{exponent}?|{digit}+{exponent}"),
        ("string", r'\"([^"\\\n]|{escape})*\"'),
        ("rawstring", r'"$\""[^"]*\"'),
        ("char", r"'([^'\\\n]|{escape})'"),
        ("utf8name", r"[\u{80}-\u{10FFFF}]+"),
        ("variable", r"\${letter}({letter}|{digit})*"),
        ("template", r"`([^`\\]|{escape})*`"),
        ("annotation", r"@{letter}({letter}|{digit}|\.)*"),
        ("percent", r"{digit}+(\.{digit}+)?%"),
        ("version", r"v{digit}+(\.{digit}+){2}(-{letter}+)?"),
        ("color", r"#{hexdigit}{6}"),
    ]
    lines += [(f"size_{unit}", f'{{digit}}+(\\.{{digit}}+)?"{unit}"') for unit in UNITS]
    lines += [(f"directive_{word}", f'"#{word}"[ \\t]+[^\\n]*') for word in DIRECTIVES]
    lines.append(("label", r"#{letter}+"))
    return lines


def description():
    rng = random.Random(1)
    words = keywords(rng)
    shapes = symbols()
    lexicon = tokens()
    token_terminals = [name for name, _ in lexicon if not name.startswith("{")]
    terminals = ([f"k{i}" for i in range(len(words))] + [f"s{i}" for i in range(len(shapes))] +
                 token_terminals + ["eoi"])
    items = terminals[:-1]
    productions = ["Program ::= [Items](eoi)", "Items ::= [Items][Item]", "Items ::= [Item]"]
    productions += [f"Item ::= ({t})" for t in items]
    out = ["A description with a large lexicon, for timing the generator (bench/big_lexicon.py).",
           "[Language]", "Name = Big", "StartingSymbol = Program", "EofName = eoi",
           "IdName = identifier", "CaseSensitive = yes", "Lookahead = 1",
           f"Terminals = {len(terminals)}", "Nonterminals = 3", f"Productions = {len(productions)}",
           f"Keywords = {len(words)}", f"SymbNodes = {sum(len(s) for s in shapes)}",
           f"Edges = {16 * len(productions)}", f"Views = {16 * len(productions)}",
           f"Nodes = {16 * len(productions)}",
           "[Terminals]", *terminals, "[Nonterminals]", "Program", "Items", "Item",
           "[Productions]", *productions, "[Keywords]"]
    out += [f"k{i} = {word}" for i, word in enumerate(words)]
    out.append("[Symbols]")
    out += [f"s{i} = {shape}" for i, shape in enumerate(shapes)]
    out.append("[Tokens]")
    out += [f"{name} = {pattern}" for name, pattern in lexicon]
    return out


def main():
    if len(sys.argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    with open(sys.argv[1], "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(description()) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
