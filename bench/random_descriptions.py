#!/usr/bin/env python3
"""Writes random language descriptions for comparing two builds of the generator.

usage: random_descriptions.py COUNT OUTDIR [SEED]

The grammars mix what the analysis has to get right: lookahead 1 to 5, left recursion, empty
productions, right-recursive lists, shared prefixes, nonterminals reached only through others,
actions and output terminals, keywords and symbols, Extended and AllAheads; about one in four
has a capacity small enough to fail on it, so every "Too many" path is compared as well.
"""
import os
import random
import sys


def description(rng):
    n_terms = rng.randint(1, 8)
    n_nonts = rng.randint(1, 7)
    n_actions = rng.randint(0, 2)
    n_outs = rng.randint(0, 2)
    terms = [f"t{i}" for i in range(1, n_terms + 1)]
    nonts = [f"N{i}" for i in range(1, n_nonts + 1)]
    actions = [f"a{i}" for i in range(1, n_actions + 1)]
    outs = [f"o{i}" for i in range(1, n_outs + 1)]
    eoi = rng.random() < 0.6

    def symbol():
        r = rng.random()
        if r < 0.5:
            return f"({rng.choice(terms)})"
        if r < 0.85:
            return f"[{rng.choice(nonts)}]"
        if r < 0.93 and actions:
            return "{" + rng.choice(actions) + "}"
        if outs:
            return f"<{rng.choice(outs)}>"
        return f"({rng.choice(terms)})"

    prods = []
    if eoi:
        prods.append(f"S ::= [{nonts[0]}](eoi)")
    for nont in nonts:
        alts = []
        for _ in range(rng.randint(1, 4)):
            r = rng.random()
            if r < 0.12:
                body = []  # empty production
            elif r < 0.25:
                body = [f"[{nont}]"] + [symbol() for _ in range(rng.randint(1, 3))]  # left recursion
            elif r < 0.4:
                body = [f"({rng.choice(terms)})", f"[{nont}]"]  # right-recursive list
            elif r < 0.55 and alts:
                prev = rng.choice(alts)
                body = prev[:rng.randint(0, len(prev))] + [symbol() for _ in range(rng.randint(0, 2))]
            else:
                body = [symbol() for _ in range(rng.randint(1, 4))]
            alts.append(body)
        for b in alts:
            line = f"{nont} ::= {''.join(b)}"
            if line not in prods or rng.random() < 0.03:  # a repeated production now and then
                prods.append(line)
    rng.shuffle(prods)

    caps = {"Terminals": n_terms + 1, "Nonterminals": n_nonts + 1, "Productions": len(prods),
            "Edges": 400, "Views": 4000, "Nodes": 2000, "SymbNodes": 40, "Keywords": n_terms,
            "Actions": n_actions, "OutTerms": n_outs}
    if rng.random() < 0.25:
        key = rng.choice(["Productions", "Edges", "Views", "Nodes", "Terminals", "SymbNodes", "Keywords"])
        caps[key] = rng.randint(0, max(1, caps[key] // 3 if key in ("Views", "Nodes", "Edges") else caps[key]))
        if key in ("Views", "Nodes", "Edges"):
            caps[key] = rng.randint(0, 40)

    lines = ["Random grammar.", "[Language]", "Name = Random",
             f"StartingSymbol = {'S' if eoi else nonts[0]}", f"Lookahead = {rng.randint(1, 5)}"]
    if eoi:
        lines.append("EofName = eoi")
    for key in ("Extended", "AllAheads", "CaseSensitive"):
        if rng.random() < 0.3:
            lines.append(f"{key} = yes")
    lines += [f"{k} = {v}" for k, v in caps.items()]
    lines += ["[Terminals]", *terms] + (["eoi"] if eoi else [])
    lines += ["[Nonterminals]"] + (["S"] if eoi else []) + nonts
    if outs:
        lines += ["[OutTerms]", *outs]
    if actions:
        lines += ["[Actions]", *actions]
    lines += ["[Productions]", *prods]
    words = [t for t in terms if rng.random() < 0.5]
    if words:
        lines += ["[Keywords]"] + [f"{t} = kw{t}" for t in words]
    syms = [t for t in terms if t not in words]
    if syms:
        lines += ["[Symbols]"] + [f"{t} = {rng.choice('+-*/<>=!&|')}{rng.choice(['', '=', '<', '>'])}" for t in syms]
    if outs:
        lines += ["[OutShapes]"] + [f"{o} = {o}" for o in outs]
    return "\n".join(lines) + "\n"


def main():
    count, outdir = int(sys.argv[1]), sys.argv[2]
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    rng = random.Random(seed)
    os.makedirs(outdir, exist_ok=True)
    for i in range(count):
        with open(os.path.join(outdir, f"random-{seed}-{i:05d}.lang"), "w") as f:
            f.write(description(rng))


if __name__ == "__main__":
    main()
