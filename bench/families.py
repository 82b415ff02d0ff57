#!/usr/bin/env python3
"""Writes the grammar families of the generator benchmark as description files.

usage: families.py FAMILY N OUTFILE [--bison FILE]
FAMILY: wide, keywords, chain-term, chain-empty, big, oberon0-k (N is the lookahead then).
With --bison, the big family is also written as a bison grammar of the same language.
"""
import re
import sys

CAP = 1 << 22  # capacities: large enough for every table of every family


def header(start, terminals, nonterminals, productions, lookahead=1, extra=""):
    return (f"[Language]\nName = Bench\nStartingSymbol = {start}\nEofName = eoi\n"
            f"Lookahead = {lookahead}\nTerminals = {terminals}\nNonterminals = {nonterminals}\n"
            f"Productions = {productions}\nEdges = {CAP}\nViews = {CAP}\nNodes = {CAP}\n"
            f"SymbNodes = 100\nKeywords = {max(1, terminals)}\n{extra}")


def wide(n):
    # S ::= (t_i) for n terminals: one choice of n members.
    terms = [f"t{i}" for i in range(1, n + 1)]
    out = [header("P", n + 1, 2, n + 1), "[Terminals]", *terms, "eoi", "[Nonterminals]", "P", "S",
           "[Productions]", "P ::= [S](eoi)"]
    out += [f"S ::= ({t})" for t in terms]
    out += ["[Keywords]"] + [f"{t} = {t}" for t in terms]
    return out


def keywords(n):
    # L ::= (k_i)[L] and L ::= (k_i): n keywords, a right-recursive list of them.
    terms = [f"k{i}" for i in range(1, n + 1)]
    out = [header("P", n + 1, 2, 2 * n + 1), "[Terminals]", *terms, "eoi", "[Nonterminals]", "P", "L",
           "[Productions]", "P ::= [L](eoi)"]
    out += [f"L ::= ({t})[L]" for t in terms] + ["L ::="]
    out += ["[Keywords]"] + [f"{t} = kw{t}" for t in terms]
    return out


def chain(n, with_term):
    # A_i ::= (t)[A_i+1] (or [A_i+1]), the last one ::= (t): n nonterminals in a chain.
    nonts = [f"A{i}" for i in range(1, n + 1)]
    out = [header("A1", 2, n, n), "[Terminals]", "t", "eoi", "[Nonterminals]", *nonts, "[Productions]"]
    for i in range(1, n):
        out.append(f"A{i} ::= (t)[A{i + 1}]" if with_term else f"A{i} ::= [A{i + 1}]")
    out.append(f"A{n} ::= (t)")
    out += ["[Keywords]", "t = t"]
    return out


def big_rules(n):
    # n nonterminals of five productions, each beginning with its own opener; four go on with
    # another nonterminal and a closer, so one terminal decides every choice.
    rules = []
    for i in range(n):
        openers = []
        num = (i * 7) % 36
        while len(openers) < 5:
            if num not in openers:
                openers.append(num)
            num = (num + 11) % 36
        alts = []
        for k, o in enumerate(openers):
            closer = (i * 5 + k * 11) % 36
            j = (i * 31 + k * 17 + 1) % n
            alts.append((f"o{o}", f"N{j}" if k < 4 else "", f"c{closer}"))
        rules.append((f"N{i}", alts))
    return rules


def big(n, lookahead=1):
    rules = big_rules(n)
    terms = [f"o{i}" for i in range(36)] + [f"c{i}" for i in range(36)]
    out = [header("P", 73, n + 1, 5 * n + 1, lookahead), "[Terminals]", *terms, "eoi", "[Nonterminals]", "P"]
    out += [name for name, _ in rules] + ["[Productions]", "P ::= [N0](eoi)"]
    for name, alts in rules:
        out += [f"{name} ::= ({o})" + (f"[{j}]" if j else "") + f"({c})" for o, j, c in alts]
    out += ["[Keywords]"] + [f"{t} = {t}" for t in terms]
    return out


def big_bison(n):
    rules = big_rules(n)
    terms = [f"o{i}" for i in range(36)] + [f"c{i}" for i in range(36)]
    out = ["%token " + " ".join(terms), "%%", "p: n0 ;"]
    for name, alts in rules:
        body = " | ".join(f"{o} {j.lower()} {c}" for o, j, c in alts)
        out.append(f"{name.lower()}: {body} ;")
    out.append("%%")
    return out


def oberon(lookahead, source):
    text = open(source).read()
    text = re.sub(r"(?m)^Lookahead = \d+$", f"Lookahead = {lookahead}", text)
    for key in ("Edges", "Views", "Nodes"):
        text = re.sub(rf"(?m)^{key} = \d+$", f"{key} = {CAP}", text)
    return text.rstrip("\n").split("\n")


def main():
    family, n, path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    makers = {"wide": wide, "keywords": keywords, "chain-term": lambda k: chain(k, True),
              "chain-empty": lambda k: chain(k, False), "big": big, "big-la2": lambda k: big(k, 2)}
    if family == "oberon0-k":
        lines = oberon(n, sys.argv[4] if len(sys.argv) > 4 else "examples/oberon0/oberon0.lang")
    else:
        lines = makers[family](n)
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
    if "--bison" in sys.argv:
        with open(sys.argv[sys.argv.index("--bison") + 1], "w") as f:
            f.write("\n".join(big_bison(n)) + "\n")


if __name__ == "__main__":
    main()
