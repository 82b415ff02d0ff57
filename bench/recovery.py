#!/usr/bin/env python3
"""Error-recovery benchmark: injects token errors into valid programs, runs our translator with
recovery and a peer parser on them, and scores where each one reported errors.

Every valid program of a language's folder gets variants with k = 1 and with k = 3 token edits,
enough for about --target programs per k (for k > 1 only programs of at least MIN_TOKENS_PER_EDIT
terminals per edit take part). An edit deletes a token, inserts one (of any terminal, with a
sample text) or replaces one by a token of another terminal. The text is tokenised as our lexers
do (the lexers below follow examples/LANG/LANG.lang), and blanks around an edit keep it from
merging with its neighbours; a variant whose tokens are not the intended ones is left out.

An edit is kept only when it makes the program invalid: the program with that edit alone is
parsed by our translator stopping at the first error (MAX 0), which must report a syntax error.
The terminal it reports it at is the edit's detection point, at or after the edit's site (where
the token was deleted, inserted or replaced); an edit detected more than MAX_DELTA terminals
after its site is left out. The window of an edit runs from BEFORE terminals before its site to
AFTER terminals after its detection point (at the same distance from the site as in the
single-edit program) and starts after the previous window; the windows of a program's edits
lie at least GAP terminals apart.

Scoring, per language and k, for each tool, of the reports at every error (line and byte column,
mapped to the terminal at or after them):
  recall       injected errors with at least one report in their window
  spurious     reports in no window, per 100 injected errors
  first        programs whose first report is at the first edit's detection point
The same seed gives the same programs and edits. With --details, every program with a missed
edit or a spurious report is listed with its edits and each tool's reports, and each language
ends with the most frequent spurious messages and the reports that came before missed edits.

usage: recovery.py --work DIR --language NAME:SOURCES:OURS[:PEER_GRAMMAR:PEER_RULE]...
                   [--ours-max N] [--peer 'java -cp CLASSPATH RecoveryMain'] [--seed S]
                   [--target N] [--details FILE]
  NAME is pl0, oberon0 or json, SOURCES the folder of its valid programs, OURS our translator's
  driver (bench/peers/recovery_main.c built for it); PEER_GRAMMAR and PEER_RULE name the peer's
  grammar and start rule for bench/peers/RecoveryMain.java.
"""

import argparse
import math
import os
import random
import re
import resource
import shlex
import subprocess
import sys

BEFORE = 2
AFTER = 1
GAP = 8
MAX_DELTA = 12
KS = (1, 3)
# The status of a syntax error (NAME_SYNTAX) in our translators.
SYNTAX = 1
# A program takes k > 1 edits when it has at least k times this many terminals.
MIN_TOKENS_PER_EDIT = 15

# ----------------------------------------------------------------------------------------------
# Lexers: the terminals of examples/pl0/pl0.lang, examples/oberon0/oberon0.lang and
# examples/json/json.lang. A token is (kind, start, end) in bytes; keywords are their own kinds.


class Lexer:
    def __init__(self, skip, words, keywords, fold_case, symbols, patterns):
        self.skip = re.compile(skip)
        self.words = re.compile(words) if words else None
        self.keywords = keywords
        self.fold_case = fold_case
        self.symbols = sorted(symbols, key=len, reverse=True)
        self.patterns = [(kind, re.compile(p)) for kind, p in patterns]

    def tokens(self, text):
        """The tokens of text, or None when a byte begins no terminal."""
        out = []
        pos = 0
        n = len(text)
        while True:
            m = self.skip.match(text, pos)
            if m:
                pos = m.end()
            if pos >= n:
                return out
            best = None
            if self.words:
                m = self.words.match(text, pos)
                if m:
                    word = m.group().decode("latin-1")
                    key = word.lower() if self.fold_case else word
                    best = (self.keywords.get(key, "ident"), m.end())
            for kind, pattern in self.patterns:
                m = pattern.match(text, pos)
                if m and (best is None or m.end() > best[1]):
                    best = (kind, m.end())
            for symbol in self.symbols:
                if text.startswith(symbol, pos):
                    if best is None or pos + len(symbol) > best[1]:
                        best = (symbol.decode(), pos + len(symbol))
                    break
            if best is None or best[1] == pos:
                return None
            out.append((best[0], pos, best[1]))
            pos = best[1]


PL0_SYMBOLS = [b"?", b"!", b":=", b"=", b"#", b"<", b"<=", b">", b">=", b"+", b"-", b"*", b"/",
               b"(", b")", b",", b";", b"."]
PL0_KEYWORDS = ["const", "var", "procedure", "call", "begin", "end", "if", "then", "while", "do",
                "odd", "read", "write"]
OBERON0_KEYWORDS = ["ARRAY", "BEGIN", "CONST", "DIV", "DO", "ELSE", "ELSIF", "END", "IF", "MOD",
                    "MODULE", "OF", "OR", "PROCEDURE", "RECORD", "REPEAT", "THEN", "TYPE", "UNTIL",
                    "VAR", "WHILE"]
OBERON0_SYMBOLS = [b"*", b"&", b"+", b"-", b"=", b"#", b"<", b"<=", b">", b">=", b".", b",", b":",
                   b":=", b";", b"(", b")", b"[", b"]", b"~"]
JSON_STRING = rb'"([^"\\\x00-\x1f]|\\(["\\/bfnrt]|u[0-9A-Fa-f]{4}))*"'
JSON_NUMBER = rb"-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?"


def pl0_kind(kind):
    # ? and read are one terminal, ! and write another.
    return {"?": "read", "!": "write"}.get(kind, kind)


LANGUAGES = {
    "pl0": {
        "lexer": Lexer(rb"[ \t\n\r\f\v]+", rb"[A-Za-z][A-Za-z0-9]*", {k: k for k in PL0_KEYWORDS},
                       True, PL0_SYMBOLS, [("number", rb"[0-9]+")]),
        "kind": pl0_kind,
        # The text of each terminal that an edit may insert; ident and number are drawn apart.
        "texts": {**{k: [k] for k in PL0_KEYWORDS}, "read": ["read", "?"], "write": ["write", "!"],
                  **{s.decode(): [s.decode()] for s in PL0_SYMBOLS if s not in (b"?", b"!")}},
    },
    "oberon0": {
        "lexer": Lexer(rb"[ \t\n\r\f\v]+", rb"[A-Za-z][A-Za-z0-9]*",
                       {k: k for k in OBERON0_KEYWORDS}, False, OBERON0_SYMBOLS,
                       [("number", rb"[0-9]+")]),
        "kind": lambda kind: kind,
        "texts": {**{k: [k] for k in OBERON0_KEYWORDS},
                  **{s.decode(): [s.decode()] for s in OBERON0_SYMBOLS}},
    },
    "json": {
        "lexer": Lexer(rb"[ \t\n\r]+", None, {}, False,
                       [b"{", b"}", b"[", b"]", b",", b":", b"true", b"false", b"null"],
                       [("string", JSON_STRING), ("number", JSON_NUMBER)]),
        "kind": lambda kind: kind,
        "texts": {"string": ['"key"', '"value"'], "number": ["0", "12", "-1.5"],
                  **{s: [s] for s in ["{", "}", "[", "]", ",", ":", "true", "false", "null"]}},
    },
}


def tokenize(language, text):
    """[(kind, start, end)] of text, kinds folded to terminals; None when it does not lex."""
    lang = LANGUAGES[language]
    tokens = lang["lexer"].tokens(text)
    if tokens is None:
        return None
    return [(lang["kind"](kind), start, end) for kind, start, end in tokens]


def positions(text, tokens):
    """(line, byte column) from 1 of each token's start and end, plus the end of the input."""
    starts, ends = [], []
    line, line_start, at = 1, 0, 0

    def advance(to):
        nonlocal line, line_start, at
        while True:
            nl = text.find(b"\n", at, to)
            if nl < 0:
                break
            line += 1
            line_start = nl + 1
            at = nl + 1
        at = to
        return (line, to - line_start + 1)

    for _, start, end in tokens:
        starts.append(advance(start))
        ends.append(advance(end))
    eoi = advance(len(text))
    return starts, ends, eoi


def terminal_at(ends, line, column):
    """The index of the terminal at or after (line, column): the count of terminals ending at or
    before it; the end of the input is the index after the last terminal."""
    lo, hi = 0, len(ends)
    while lo < hi:
        mid = (lo + hi) // 2
        if ends[mid] <= (line, column):
            lo = mid + 1
        else:
            hi = mid
    return lo


# ----------------------------------------------------------------------------------------------
# Edits. An edit is (type, index, kind, text): delete token index, insert before it (index may
# be the count of tokens: at the end), replace it by a token of another kind.

def random_edit(rng, language, tokens, idents):
    n = len(tokens)
    kind_texts = dict(LANGUAGES[language]["texts"])
    if language != "json":
        kind_texts["ident"] = idents or ["x"]
        kind_texts["number"] = ["0", "7", "42"]
    kinds = sorted(kind_texts)
    edit_type = rng.choice(("delete", "insert", "replace"))
    if edit_type == "insert":
        index = rng.randrange(n + 1)
        kind = rng.choice(kinds)
    else:
        index = rng.randrange(n)
        kind = None
        if edit_type == "replace":
            kind = rng.choice([k for k in kinds if k != tokens[index][0]])
    text = rng.choice(kind_texts[kind]) if kind else ""
    return (edit_type, index, kind, text)


def apply_edits(text, tokens, edits):
    """The text and the expected token kinds with the edits applied (at distinct indices)."""
    kinds = [t[0] for t in tokens]
    for edit_type, index, kind, new in sorted(edits, key=lambda e: e[1], reverse=True):
        at = tokens[index][1] if index < len(tokens) else len(text)
        if edit_type == "delete":
            text = text[:at] + b" " + text[tokens[index][2]:]
            del kinds[index]
        elif edit_type == "insert":
            text = text[:at] + b" " + new.encode() + b" " + text[at:]
            kinds.insert(index, kind)
        else:
            text = text[:at] + b" " + new.encode() + b" " + text[tokens[index][2]:]
            kinds[index] = kind
    return text, kinds


def sites(edits):
    """The index of each edit's site in the edited token list, edits sorted by index."""
    out, shift = [], 0
    for edit_type, index, _, _ in sorted(edits, key=lambda e: e[1]):
        out.append(index + shift)
        shift += {"delete": -1, "insert": 1, "replace": 0}[edit_type]
    return out


# ----------------------------------------------------------------------------------------------
# Running the tools: a command given the files at its end prints "file PATH STATUS N" and N
# lines "error LINE COLUMN TEXT" for each.

class ToolFailed(Exception):
    pass


# Files on which a tool crashed or ran out of time: (tool, path, what happened).
FAILURES = []


def run_chunk(command, files, timeout):
    """Runs command on files; its results by path, or the reason it failed."""
    try:
        done = subprocess.run(command + files, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=timeout)
    except subprocess.TimeoutExpired:
        return None, f"no answer within {timeout} s"
    if done.returncode != 0:
        return None, f"exit status {done.returncode}: " + done.stderr.decode(errors="replace")[-300:].strip()
    results, current = {}, None
    for line in done.stdout.decode(errors="replace").splitlines():
        if line.startswith("file "):
            head, _, _ = line.rpartition(" ")
            path, _, status = head[5:].rpartition(" ")
            current = results[path] = {"status": int(status), "errors": []}
        elif line.startswith("error ") and current is not None:
            parts = line.split(" ", 3)
            current["errors"].append((int(parts[1]), int(parts[2]), parts[3] if len(parts) > 3 else ""))
    missing = [f for f in files if f not in results]
    if missing:
        return None, f"no result for {missing[0]}"
    return results, None


def run_tool(command, files, chunk=400):
    """The results of command on files, by path: {"status", "errors": [(line, column, text)]}.
    A chunk that fails is run again file by file; a file that fails alone is noted in FAILURES
    and counts as a run without reports; ToolFailed when every file fails."""
    results = {}
    for i in range(0, len(files), chunk):
        part = files[i:i + chunk]
        done, why = run_chunk(command, part, 60 + len(part))
        if done is not None:
            results.update(done)
            continue
        for f in part:
            one, why = run_chunk(command, [f], 20)
            if one is None:
                FAILURES.append(("peer" if command[0] == "java" else f"ours (MAX {command[1]})", f, why))
                one = {f: {"status": -1, "errors": []}}
            results.update(one)
    if files and all(r["status"] == -1 for r in results.values()):
        raise ToolFailed(f"{' '.join(command[:3])} ... fails on every file: {FAILURES[-1][2]}")
    return results


# ----------------------------------------------------------------------------------------------

def prepare(language, sources, ours, work, seed, target, notes):
    """Writes the single-edit programs, checks them with ours, and writes the k-edit programs.
    Returns one dict per k-edit program: k, path, source, text, the starts and ends of its
    terminals, and the injected edits with their sites, detection points and windows."""
    files = sorted(os.path.join(sources, f) for f in os.listdir(sources)
                   if os.path.isfile(os.path.join(sources, f)))
    folder = os.path.join(work, language)
    os.makedirs(os.path.join(folder, "single"), exist_ok=True)
    programs = []
    for f in files:
        with open(f, "rb") as handle:
            text = handle.read()
        tokens = tokenize(language, text)
        if tokens is None:
            notes.append(f"{language}: {os.path.basename(f)} does not lex as ours does: left out")
            continue
        programs.append((f, text, tokens))
    # Our translator must accept every original, or the edits would not be the only errors.
    valid = run_tool(ours + ["0"], [f for f, _, _ in programs])
    kept = []
    for f, text, tokens in programs:
        if valid[f]["status"] != 0:
            notes.append(f"{language}: ours rejects the valid {os.path.basename(f)}: left out")
        else:
            kept.append((f, text, tokens))
    programs = kept
    # Variants per program for each k, among the programs long enough for k edits.
    variants = {}
    for k in KS:
        eligible = sum(k == 1 or len(tokens) >= k * MIN_TOKENS_PER_EDIT for _, _, tokens in programs)
        variants[k] = max(1, math.ceil(target / max(1, eligible)))

    # The pool of single edits of each program.
    singles = []
    for number, (f, text, tokens) in enumerate(programs):
        rng = random.Random(f"{seed}/{language}/{os.path.basename(f)}")
        idents = sorted({text[s:e].decode("latin-1") for kind, s, e in tokens if kind == "ident"})
        wanted = 2 * max(k * variants[k] for k in KS if len(tokens) >= k * MIN_TOKENS_PER_EDIT or k == 1) + 6
        pool = set()
        for _ in range(4 * wanted):
            if len(pool) >= wanted:
                break
            pool.add(random_edit(rng, language, tokens, idents[:50]))
        for j, edit in enumerate(sorted(pool)):
            edited, kinds = apply_edits(text, tokens, [edit])
            again = tokenize(language, edited)
            if again is None or [t[0] for t in again] != kinds:
                continue
            path = os.path.join(folder, "single", f"{number}-{j}")
            with open(path, "wb") as handle:
                handle.write(edited)
            singles.append((number, edit, path, edited, again))
    checked = run_tool(ours + ["0"], [s[2] for s in singles])
    pools = {number: [] for number in range(len(programs))}
    dropped = {"valid": 0, "lexical": 0, "far": 0}
    for number, edit, path, edited, again in singles:
        result = checked[path]
        if result["status"] == 0:
            dropped["valid"] += 1
        elif result["status"] != SYNTAX or not result["errors"]:
            dropped["lexical"] += 1
        else:
            _, ends, _ = positions(edited, again)
            line, column, _ = result["errors"][0]
            delta = terminal_at(ends, line, column) - sites([edit])[0]
            if delta < 0 or delta > MAX_DELTA:
                dropped["far"] += 1
            else:
                pools[number].append((edit, delta))
        os.remove(path)
    notes.append(f"{language}: {len(programs)} programs, variants each: "
                 + ", ".join(f"{variants[k]} for k = {k}" for k in KS) + f"; of {len(singles)} "
                 f"single edits {dropped['valid']} left the program valid, {dropped['lexical']} gave "
                 f"another error and {dropped['far']} were detected more than {MAX_DELTA} terminals "
                 "after them: left out")

    cases = []
    short = 0
    for number, (f, text, tokens) in enumerate(programs):
        pool = sorted(pools[number])
        for k in KS:
            if len(tokens) < k * MIN_TOKENS_PER_EDIT and k > 1:
                continue
            used = set()
            for v in range(variants[k]):
                rng = random.Random(f"{seed}/{language}/{os.path.basename(f)}/{k}/{v}")
                order = [c for c in pool if c[0] not in used]
                rng.shuffle(order)
                chosen = []
                for edit, delta in order:
                    lo, hi = edit[1] - BEFORE, edit[1] + delta + AFTER
                    if all(lo - (c[0][1] + c[1] + AFTER) > GAP or c[0][1] - BEFORE - hi > GAP
                           for c in chosen):
                        chosen.append((edit, delta))
                        if len(chosen) == k:
                            break
                if len(chosen) < k:
                    short += 1
                    continue
                chosen.sort(key=lambda c: c[0][1])
                used.update(c[0] for c in chosen)
                edits = [c[0] for c in chosen]
                edited, kinds = apply_edits(text, tokens, edits)
                again = tokenize(language, edited)
                if again is None or [t[0] for t in again] != kinds:
                    short += 1
                    continue
                path = os.path.join(folder, f"k{k}-{number}-{v}-{os.path.basename(f)}")
                with open(path, "wb") as handle:
                    handle.write(edited)
                starts, ends, _ = positions(edited, again)
                injected = []
                previous = -1
                for (edit, delta), site in zip(chosen, sites(edits)):
                    lo = max(site - BEFORE, previous + 1)
                    hi = site + delta + AFTER
                    injected.append({"edit": edit, "site": site, "detect": site + delta,
                                     "window": (lo, hi),
                                     "where": starts[site] if site < len(starts) else "end"})
                    previous = hi
                cases.append({"k": k, "path": path, "source": f, "text": edited, "ends": ends,
                              "starts": starts, "injected": injected})
    if short:
        notes.append(f"{language}: {short} variants found too few edits far enough apart: left out")
    return cases


def score(cases, results):
    """Per k: files, injected, found, spurious, first exact, reports; and found by edit type."""
    rows = {}
    for case in cases:
        row = rows.setdefault(case["k"], {"files": 0, "injected": 0, "found": 0, "spurious": 0,
                                          "first": 0, "reports": 0, "types": {}})
        result = results[case["path"]]
        marks = [terminal_at(case["ends"], line, column) for line, column, _ in result["errors"]]
        row["files"] += 1
        row["injected"] += len(case["injected"])
        row["reports"] += len(marks)
        if marks and marks[0] == case["injected"][0]["detect"]:
            row["first"] += 1
        hits = []
        for mark in marks:
            hit = [i for i, e in enumerate(case["injected"]) if e["window"][0] <= mark <= e["window"][1]]
            hits.append(hit[0] if hit else None)
        row["spurious"] += hits.count(None)
        for i, e in enumerate(case["injected"]):
            found = i in hits
            row["found"] += found
            t = row["types"].setdefault(e["edit"][0], [0, 0])
            t[0] += found
            t[1] += 1
        case.setdefault("marks", []).append((marks, hits, result["errors"]))
    return rows


# CPU time (user + system) of the tools' runs on the k-edit programs: (language, tool, seconds).
TIMES = []


def timed(language, tool, work):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    result = work()
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    TIMES.append((language, tool, after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime))
    return result


def percent(a, b):
    return f"{100.0 * a / b:.1f}" if b else "-"


def describe(case, tool, marks, hits, errors, out):
    out.write(f"== {tool} k={case['k']} {case['path']} (from {os.path.basename(case['source'])})\n")
    for i, e in enumerate(case["injected"]):
        edit_type, _, kind, new = e["edit"]
        found = "found" if i in hits else "MISSED"
        where = e["where"] if e["where"] == "end" else f"{e['where'][0]}:{e['where'][1]}"
        what = f"{edit_type} {new!r}" if edit_type != "delete" else "delete"
        out.write(f"  edit {i + 1}: {what} at {where} (terminal {e['site']}, detected at "
                  f"{e['detect']}, window {e['window'][0]}-{e['window'][1]}): {found}\n")
    for (line, column, text), mark, hit in zip(errors, marks, hits):
        label = f"edit {hit + 1}" if hit is not None else "SPURIOUS"
        out.write(f"  report {line}:{column} (terminal {mark}) {label}: {text}\n")


def shape(text):
    """A message with the texts of identifiers, numbers and strings left out, to count messages of
    one kind."""
    return re.sub(r"(ident|number|string) '[^']*'", r"\1", text)


def summarise(language, name, cases, index, out):
    """The most frequent spurious messages, and the message of the report before each missed edit
    (the recovery that went past it), as shapes."""
    spurious, before = {}, {}
    for c in cases:
        marks, hits, errors = c["marks"][index]
        for hit, (_, _, text) in zip(hits, errors):
            if hit is None:
                key = shape(text)
                spurious[key] = spurious.get(key, 0) + 1
        for i in range(len(c["injected"])):
            if i not in hits:
                earlier = [errors[j][2] for j, mark in enumerate(marks) if mark < c["injected"][i]["window"][0]]
                key = shape(earlier[-1]) if earlier else "(no report before it)"
                before[key] = before.get(key, 0) + 1
    for title, counts in (("spurious reports", spurious), ("the report before a missed edit", before)):
        out.write(f"## {language} {name}: {title}, {sum(counts.values())} in all, by message\n")
        for key, count in sorted(counts.items(), key=lambda item: (-item[1], item[0]))[:25]:
            out.write(f"{count:6d}  {key}\n")


def main():
    try:
        run()
    except ToolFailed as failure:
        raise SystemExit(f"bench: {failure}")


def run():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--work", required=True)
    parser.add_argument("--ours-max", type=int, default=100)
    parser.add_argument("--language", action="append", required=True)
    parser.add_argument("--peer", default="")
    parser.add_argument("--seed", default="1")
    parser.add_argument("--target", type=int, default=200)
    parser.add_argument("--details", default="")
    args = parser.parse_args()

    notes = []
    table = []
    details = open(args.details, "w") if args.details else None
    totals = {}
    for entry in args.language:
        parts = entry.split(":")
        language, sources, ours = parts[0], parts[1], [parts[2]]
        peer = shlex.split(args.peer) + parts[3:5] if args.peer and len(parts) >= 5 else None
        cases = prepare(language, sources, ours, args.work, args.seed, args.target, notes)
        paths = [c["path"] for c in cases]
        # Without recovery ours must stop at the first edit's detection point.
        first = timed(language, "ours without recovery", lambda: run_tool(ours + ["0"], paths))
        off = 0
        for c in cases:
            errors = first[c["path"]]["errors"]
            if not errors or terminal_at(c["ends"], errors[0][0], errors[0][1]) != c["injected"][0]["detect"]:
                off += 1
        if off:
            notes.append(f"{language}: in {off} programs ours without recovery stops elsewhere than at "
                         "the first edit's detection point")
        tools = [("ours", timed(language, "ours", lambda: run_tool(ours + [str(args.ours_max)], paths)))]
        if peer:
            originals = sorted({c["source"] for c in cases})
            try:
                accepted = run_tool(peer, originals)
                wrong = [p for p in originals if accepted[p]["errors"]]
                if wrong:
                    notes.append(f"{language}: the peer rejects {len(wrong)} valid programs, such as "
                                 f"{os.path.basename(wrong[0])}")
                tools.append(("peer", timed(language, "peer", lambda: run_tool(peer, paths))))
            except ToolFailed as failure:
                notes.append(f"{language}: the peer is left out: {failure}")
        scored = {name: score(cases, results) for name, results in tools}
        if details:
            for index, (name, _) in enumerate(tools):
                for c in cases:
                    marks, hits, errors = c["marks"][index]
                    if None in hits or len(set(h for h in hits if h is not None)) < len(c["injected"]):
                        describe(c, name, marks, hits, errors, details)
                summarise(language, name, cases, index, details)
        for k in KS:
            table.append((language, k, {name: scored[name].get(k) for name, _ in tools}))
            for name, _ in tools:
                row = scored[name].get(k)
                if row:
                    total = totals.setdefault((k, name), {"files": 0, "injected": 0, "found": 0,
                                                          "spurious": 0, "first": 0, "reports": 0,
                                                          "types": {}})
                    for key in ("files", "injected", "found", "spurious", "first", "reports"):
                        total[key] += row[key]
                    for t, (f, n) in row["types"].items():
                        cell = total["types"].setdefault(t, [0, 0])
                        cell[0] += f
                        cell[1] += n
    for k in KS:
        table.append(("all", k, {name: totals.get((k, name)) for name in ("ours", "peer")}))

    print(f"Error recovery on valid real programs with k injected token edits (seed {args.seed}).")
    print(f"recall: injected errors with a report in their window (from {BEFORE} terminals before the")
    print(f"edit to {AFTER} after the terminal where a translator without recovery stops); spurious:")
    print("reports in no window, per 100 injected errors; first: programs whose first report is at the")
    print(f"first error, per 100. ours: the --prefix translators recovering up to {args.ours_max} errors;")
    print("peer: the LL(*) generator's parsers with their default recovery.")
    head = "%-8s %2s %6s %8s | %7s %9s %6s %7s | %7s %9s %6s %7s"
    print(head % ("language", "k", "files", "injected", "recall", "spurious", "first", "reports",
                  "recall", "spurious", "first", "reports"))
    print(head % ("", "", "", "", "ours", "", "", "", "peer", "", "", ""))
    for language, k, by_tool in table:
        base = by_tool.get("ours")
        if not base:
            continue
        cells = []
        for name in ("ours", "peer"):
            row = by_tool.get(name)
            if row:
                cells += [percent(row["found"], row["injected"]), percent(row["spurious"], row["injected"]),
                          percent(row["first"], row["files"]), str(row["reports"])]
            else:
                cells += ["-", "-", "-", "-"]
        print(head % (language, k, base["files"], base["injected"], *cells))
    print("recall by kind of edit, all languages (found/injected):")
    for k in KS:
        for name in ("ours", "peer"):
            row = totals.get((k, name))
            if row:
                kinds = ", ".join(f"{t} {percent(f, n)}% ({f}/{n})" for t, (f, n) in sorted(row["types"].items()))
                print(f"  k={k} {name}: {kinds}")
    print("CPU time on all k-edit programs (the peer's includes starting the JVM once per 400 programs):")
    for language in dict.fromkeys(t[0] for t in TIMES):
        print(f"  {language}: " + ", ".join(f"{tool} {seconds:.2f} s" for lang, tool, seconds in TIMES
                                              if lang == language))
    for note in notes:
        print("note: " + note)
    for tool, path, why in FAILURES:
        print(f"FAILURE: {tool} on {path}: {why}")
    if details:
        details.close()


if __name__ == "__main__":
    main()
