#!/usr/bin/env python3
"""Compares the program's functions and complexities (mode c, JSON report) with pmccabe's on
the C files of a tree.

For every function pmccabe reports, the program should report one at the same definition line
(the line of the name) with the same number as pmccabe's second column, the traditional McCabe
number. Prints both shares, then each class of difference with its count and examples.

  bench/complexity-vs-pmccabe.py PROGRAM TREE [--limit N] [--examples K] [--ext .c ...]

PROGRAM is the tallyweaver executable, TREE a folder (read only: nothing is written there).
The kernel sources this was measured on: /work/corpus/linux-source-6.1 (Debian's
linux-source-6.1 package, version 6.1.*). Exits 1 when either share falls below the targets
given by --found and --same (percent; defaults 98 and 97).
"""
import argparse
import collections
import json
import os
import re
import subprocess
import sys
import tempfile

# A line that ends in a backslash (in C, the inside of a macro), then an empty line.
SPLICED_BLANK = re.compile(r"\\\n[ \t]*\n")
PMCCABE_LINE = re.compile(r"^(\d+)\t(\d+)\t(\d+)\t(\d+)\t(\d+)\t(.*)\((\d+)\): (.*)$")


def source_files(tree, extensions, limit):
    files = []
    for folder, folders, names in os.walk(tree):
        folders.sort()
        for name in sorted(names):
            if os.path.splitext(name)[1] in extensions:
                path = os.path.join(folder, name)
                if os.path.isfile(path) and not os.path.islink(path):
                    files.append(path)
    return files[:limit] if limit else files


def run_pmccabe(files):
    """{(file, line): (complexity, first line, lines, name)}; duplicates keep the first."""
    functions = {}
    for start in range(0, len(files), 500):
        batch = files[start:start + 500]
        run = subprocess.run(["pmccabe"] + batch, capture_output=True, text=True,
                             errors="replace")
        for line in run.stdout.splitlines():
            match = PMCCABE_LINE.match(line)
            if match:
                key = (match.group(6), int(match.group(7)))
                functions.setdefault(key, (int(match.group(2)), int(match.group(4)),
                                           int(match.group(5)), match.group(8)))
    return functions


def run_program(program, files):
    """{(file, line): [function objects]} and the set of files that failed to count."""
    with tempfile.TemporaryDirectory() as work:
        listing = os.path.join(work, "files.txt")
        with open(listing, "w") as out:
            out.write("\n".join(files) + "\n")
        subprocess.run([program, "-list", listing, "-mode", "c", "-report", "json", "-quiet",
                        "-out", work], check=True, stdout=subprocess.DEVNULL)
        report = [name for name in os.listdir(work) if name.endswith(".json")][0]
        with open(os.path.join(work, report), encoding="utf-8") as stream:
            data = json.load(stream)
    functions = collections.defaultdict(list)
    failed = set()
    for record in data["files"]:
        if record["failed"]:
            failed.add(record["path"])
        for function in record.get("functions", []):
            functions[(record["path"], function["line"])].append(function)
    return functions, failed


def lines_of(path, cache={}):
    if path not in cache:
        with open(path, encoding="utf-8", errors="replace") as stream:
            cache[path] = stream.read().split("\n")
    return cache[path]


def classify_missing(path, line, theirs, failed, ours_in_file):
    """Why the program has no function at pmccabe's line."""
    if path in failed:
        return "file failed to count (unclosed literal or comment)"
    first, count = theirs[1], theirs[2]
    inside = [f for f in ours_in_file if first <= f["line"] < first + count]
    if inside:
        same = any(f["complexity"] == theirs[0] for f in inside)
        return ("pmccabe names what stands before the function (a macro, an attribute, a "
                "declaration); the program names the function" +
                (", same number" if same else ", other number"))
    text = lines_of(path)
    head = "\n".join(text[max(first - 1, 0):line + 1])
    if SPLICED_BLANK.search("\n".join(text[max(first - 40, 0):line])):
        return ("a directive ending in '\\' before an empty line: the pre-parser (every "
                "logical mode) takes the next line into it")
    if re.search(r"^\s*#\s*(if|ifdef|ifndef|else|elif)", head, re.M):
        return "declaration split by #if branches"
    if re.search(r"\)\s*\n\s*[A-Za-z_][\w\s,*]*;\s*\n", head):
        return "old-style (K&R) parameter declarations"
    body = "\n".join(text[first - 1:first - 1 + count])
    if re.search(r"=\s*\{", body) and not re.search(r"\)\s*\{", body):
        return "pmccabe takes an initialiser after a macro for a function body"
    return "other"


def classify_number(path, theirs, ours):
    """Why the program's number differs from pmccabe's."""
    text = lines_of(path)
    first, count = theirs[1], theirs[2]
    body = "\n".join(text[first - 1:first - 1 + count])
    if SPLICED_BLANK.search(body):
        return ("a directive ending in '\\' before an empty line: the pre-parser (every "
                "logical mode) takes the next line into it")
    if re.search(r"^\s*#\s*(else|elif)", body, re.M):
        return "#else/#elif branch (pmccabe reads only the first branch)"
    if re.search(r"^\s*#\s*if\s+0\b", body, re.M):
        return "#if 0 block (pmccabe skips it)"
    if re.search(r"(^|[(,={;?:!]|return)\s*&&\s*[A-Za-z_]", body, re.M):
        return "&&label (address of a label, GNU C)"
    if ours["lastLine"] != first + count - 1:
        return "function ends elsewhere"
    return "other"


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("program")
    parser.add_argument("tree")
    parser.add_argument("--limit", type=int, default=0, help="first N files only")
    parser.add_argument("--examples", type=int, default=3)
    parser.add_argument("--ext", nargs="+", default=[".c"])
    parser.add_argument("--found", type=float, default=98.0)
    parser.add_argument("--same", type=float, default=97.0)
    arguments = parser.parse_args()

    files = source_files(arguments.tree, set(arguments.ext), arguments.limit)
    theirs = run_pmccabe(files)
    ours, failed = run_program(os.path.abspath(arguments.program), files)

    by_file = collections.defaultdict(list)
    for (path, _), functions in ours.items():
        by_file[path].extend(functions)
    found = same = 0
    missing = collections.defaultdict(list)
    differing = collections.defaultdict(list)
    for key, their in sorted(theirs.items()):
        mine = ours.get(key)
        if not mine:
            missing[classify_missing(key[0], key[1], their, failed, by_file[key[0]])].append(
                (key, their))
            continue
        found += 1
        if any(function["complexity"] == their[0] for function in mine):
            same += 1
        else:
            reason = classify_number(key[0], their, mine[0])
            differing[reason].append((key, their, mine[0]))

    total = len(theirs)
    found_share = 100.0 * found / max(total, 1)
    same_share = 100.0 * same / max(found, 1)
    extra = sum(len(v) for k, v in ours.items() if k not in theirs)
    print(f"files: {len(files)} ({len(failed)} failed to count)")
    print(f"pmccabe's functions: {total}; the program's: {sum(len(v) for v in ours.values())}"
          f" ({extra} at lines pmccabe has none)")
    print(f"found at the same line: {found} ({found_share:.2f} %)")
    print(f"same number among them: {same} ({same_share:.2f} %)")
    for title, classes in (("not found", missing), ("different number", differing)):
        print(f"\n{title}:")
        for reason, cases in sorted(classes.items(), key=lambda item: -len(item[1])):
            print(f"  {len(cases):6d}  {reason}")
            for case in cases[:arguments.examples]:
                (path, line), their = case[0], case[1]
                shown = os.path.relpath(path, arguments.tree)
                if len(case) == 3:
                    print(f"          {shown}:{line} {their[3]}: pmccabe {their[0]}, "
                          f"program {case[2]['complexity']}")
                else:
                    print(f"          {shown}:{line} {their[3]}")
    return 0 if found_share >= arguments.found and same_share >= arguments.same else 1


if __name__ == "__main__":
    sys.exit(main())
