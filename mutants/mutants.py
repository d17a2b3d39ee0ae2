#!/usr/bin/env python3
"""Mutation sample: how many one-line faults in the product code does the release suite catch?

Picks a fixed-seed random sample of one-line mutations of the product code (everything but tests/,
fuzz/ and bench/), builds each in a scratch copy of the tree, runs the release suite there, and
prints killed / survived / did-not-build and the kill rate. The same tree, MUTANTS and SEED give
the same sample, so a suite can be compared with itself before and after a change to the tests.

Usage: mutants/mutants.py [--mutants N] [--seed S] [--work DIR] [--list] [--save FILE | --replay FILE]

--save writes the sample (each mutant's file, line, original text and mutated text) to FILE;
--replay takes a saved sample instead of drawing one, so that a sample drawn before the product
code moved on can be run against the code as it is now. Each original line is looked for by its
exact text: in the same file (the match nearest its old line number), else in a file of the same
name elsewhere, else wherever it occurs once in the product code; a line found nowhere (or in
several places with nothing to choose between them) is reported and left out.
"""

import argparse
import json
import os
import random
import re
import shutil
import subprocess
import sys
import time

PRODUCT_FOLDERS = ("base", "engine", "bars", "chart", "live", "ui", "app", "tools")
SOURCE_ENDINGS = (".cpp", ".h")

# Binary operators are written with a blank on each side in this tree (clang-format), which tells
# them from template brackets, stream shifts and arrows.
OPERATOR_SWAPS = [
    (" < ", [" <= ", " > "]),
    (" <= ", [" < "]),
    (" > ", [" >= ", " < "]),
    (" >= ", [" > "]),
    (" == ", [" != "]),
    (" != ", [" == "]),
    (" + ", [" - "]),
    (" - ", [" + "]),
    (" && ", [" || "]),
    (" || ", [" && "]),
]
WORD_SWAPS = [(r"\btrue\b", "false"), (r"\bfalse\b", "true")]
# A whole decimal integer, not part of a name, a float or a hex number.
INTEGER = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")


def tracked_files(root):
    out = subprocess.run(["git", "ls-files", "-z"], cwd=root, check=True,
                         capture_output=True).stdout.decode()
    return [f for f in out.split("\0") if f]


def product_files(files):
    return sorted(f for f in files
                  if f.split("/")[0] in PRODUCT_FOLDERS and f.endswith(SOURCE_ENDINGS))


def string_spans(line):
    """Character ranges of the line's string and character literals, and where a comment starts."""
    spans, i, quote, start = [], 0, None, 0
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                i += 1
            elif c == quote:
                spans.append((start, i + 1))
                quote = None
        elif c in "\"'" and not (c == "'" and i > 0 and line[i - 1].isalnum()):
            quote, start = c, i
        elif line.startswith("//", i):
            return spans, i
        i += 1
    return spans, len(line)


def line_mutations(line):
    """Every one-line mutation of a code line, as (new line, description)."""
    spans, code_end = string_spans(line)

    def in_code(pos, length):
        return pos + length <= code_end and not any(a <= pos < b for a, b in spans)

    found = []
    for old, news in OPERATOR_SWAPS:
        pos = line.find(old)
        while pos >= 0:
            if in_code(pos, len(old)):
                for new in news:
                    found.append((line[:pos] + new + line[pos + len(old):],
                                  f"col {pos + 2}: '{old.strip()}' -> '{new.strip()}'"))
            pos = line.find(old, pos + 1)
    for pattern, new in WORD_SWAPS:
        for m in re.finditer(pattern, line):
            if in_code(m.start(), len(m.group())):
                found.append((line[:m.start()] + new + line[m.end():],
                              f"col {m.start() + 1}: '{m.group()}' -> '{new}'"))
    for m in INTEGER.finditer(line):
        if in_code(m.start(), len(m.group())):
            bigger = str(int(m.group()) + 1)
            found.append((line[:m.start()] + bigger + line[m.end():],
                          f"col {m.start() + 1}: '{m.group()}' -> '{bigger}'"))
    return found


def is_code_line(stripped):
    return stripped and not stripped.startswith(("#", "//", "*", "/*", "static_assert"))


def candidates(root, files):
    """All mutations of the product code, in a fixed order."""
    result = []
    for path in files:
        with open(os.path.join(root, path), encoding="utf-8") as f:
            lines = f.read().split("\n")
        in_raw_string = False
        for number, line in enumerate(lines, start=1):
            # Raw strings (usage texts) are prose, not logic.
            if in_raw_string:
                in_raw_string = ')"' not in line
                continue
            if 'R"(' in line and ')"' not in line.split('R"(', 1)[1]:
                in_raw_string = True
                continue
            if not is_code_line(line.strip()):
                continue
            for new_line, what in line_mutations(line):
                result.append((path, number, new_line, what))
    return result


def sync_tree(root, work_src, files):
    """Copies the tracked files into the scratch tree, writing only those that differ, so that the
    scratch build stays incremental."""
    for path in files:
        source = os.path.join(root, path)
        target = os.path.join(work_src, path)
        with open(source, "rb") as f:
            data = f.read()
        if os.path.exists(target):
            with open(target, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
        os.chmod(target, os.stat(source).st_mode)


def read_lines(root, path):
    with open(os.path.join(root, path), encoding="utf-8") as f:
        return f.read().split("\n")


def read_moves(root):
    """Where the code of a file went when it was split or moved: mutants/moves.txt, one line
    "OLD NEW [NEW...]" a file."""
    moves = {}
    path = os.path.join(root, "mutants", "moves.txt")
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            for line in f:
                words = line.split("#", 1)[0].split()
                if len(words) > 1:
                    moves[words[0]] = words[1:]
    return moves


def find_line(root, files, entry, moves):
    """Where the entry's original line is now, as (path, line number), or None. Code moves between
    folders, so the search widens: the same path, then the files it is known to have moved to,
    then one file of the same base name, then a single match anywhere in the product code."""
    def matches(path):
        return [i + 1 for i, line in enumerate(read_lines(root, path)) if line == entry["original"]]

    def nearest(path, places):
        return path, min(places, key=lambda i: abs(i - entry["line"]))

    for path in [entry["path"]] + moves.get(entry["path"], []):
        if path in files and (places := matches(path)):
            return nearest(path, places)
    found = {path: places for path in files if (places := matches(path))}
    same_name = [p for p in found if os.path.basename(p) == os.path.basename(entry["path"])]
    if len(same_name) == 1:
        return nearest(same_name[0], found[same_name[0]])
    if len(found) == 1 and len(places := next(iter(found.values()))) == 1:
        return next(iter(found)), places[0]
    return None


def replay(root, saved, files):
    """The saved sample, placed in the tree as it is now; mutants whose line is not found are
    reported and skipped."""
    sample = []
    moves = read_moves(root)
    with open(saved, encoding="utf-8") as f:
        entries = [json.loads(line) for line in f if line.strip()]
    for entry in entries:
        place = find_line(root, files, entry, moves)
        if place is None:
            print(f"  not found: {entry['path']}:{entry['line']}: {entry['what']}: "
                  f"{entry['original'].strip()}")
            continue
        if place[0] != entry["path"]:
            print(f"  moved: {entry['path']}:{entry['line']} -> {place[0]}:{place[1]}")
        sample.append((place[0], place[1], entry["mutated"], entry["what"]))
    print(f"{len(sample)} of {len(entries)} mutants replayed from {saved}")
    return sample


def run(command, cwd, timeout, env=None):
    try:
        return subprocess.run(command, cwd=cwd, env=env, timeout=timeout,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    except subprocess.TimeoutExpired:
        return None


def build(work_build, jobs):
    return run(["cmake", "--build", work_build, "-j", str(jobs)], work_build, 1800) == 0


def suite_passes(work_build, jobs):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    code = run(["ctest", "-j", str(jobs), "--stop-on-failure", "--timeout", "120"],
               work_build, 900, env)
    # A suite that hangs past its limit has noticed the fault too.
    return code == 0


def write_line(path, number, text):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    lines[number - 1] = text
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--mutants", type=int, default=40)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--work", default="build-mutants")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--list", action="store_true", help="print the sample and stop")
    parser.add_argument("--save", help="write the sample to this file")
    parser.add_argument("--replay", help="run a saved sample")
    args = parser.parse_args()

    root = subprocess.run(["git", "rev-parse", "--show-toplevel"], check=True,
                          capture_output=True, text=True).stdout.strip()
    files = tracked_files(root)
    if args.replay:
        sample = replay(root, args.replay, product_files(files))
    else:
        pool = candidates(root, product_files(files))
        sample = random.Random(args.seed).sample(pool, min(args.mutants, len(pool)))
        print(f"{len(pool)} possible mutations; sample of {len(sample)} with seed {args.seed}")
    if args.save:
        with open(args.save, "w", encoding="utf-8") as f:
            for path, number, new_line, what in sample:
                with open(os.path.join(root, path), encoding="utf-8") as source:
                    original = source.read().split("\n")[number - 1]
                f.write(json.dumps({"path": path, "line": number, "original": original,
                                    "mutated": new_line, "what": what}) + "\n")
    if args.list:
        for path, number, _, what in sample:
            print(f"  {path}:{number}: {what}")
        return 0

    work = os.path.abspath(os.path.join(root, args.work))
    work_src, work_build = os.path.join(work, "src"), os.path.join(work, "build")
    sync_tree(root, work_src, files)
    if not os.path.exists(os.path.join(work_build, "CMakeCache.txt")):
        # Through ccache, putting a file back after its mutant costs no compile, and a second
        # sample over the same product code (other tests) compiles only the tests.
        launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
        subprocess.run(["cmake", "-S", work_src, "-B", work_build, "-DCMAKE_BUILD_TYPE=Release",
                        "-DQUILLON_BENCHMARKS=OFF"] + launcher, check=True,
                       stdout=subprocess.DEVNULL)
    if not build(work_build, args.jobs) or not suite_passes(work_build, args.jobs):
        print("the unmutated tree does not build or its suite fails; no sample taken")
        return 1

    counts = {"killed": 0, "survived": 0, "did-not-build": 0}
    survivors = []
    for index, (path, number, new_line, what) in enumerate(sample, start=1):
        target = os.path.join(work_src, path)
        with open(target, encoding="utf-8") as f:
            original = f.read()
        started = time.monotonic()
        write_line(target, number, new_line)
        try:
            if not build(work_build, args.jobs):
                outcome = "did-not-build"
            elif suite_passes(work_build, args.jobs):
                outcome = "survived"
                survivors.append(f"{path}:{number}: {what}: {new_line.strip()}")
            else:
                outcome = "killed"
        finally:
            # Written anew (not with its old time stamp), so the next build recompiles it.
            with open(target, "w", encoding="utf-8") as f:
                f.write(original)
        counts[outcome] += 1
        print(f"[{index}/{len(sample)}] {outcome:13} {path}:{number}: {what} "
              f"({time.monotonic() - started:.0f} s)", flush=True)

    build(work_build, args.jobs)
    judged = counts["killed"] + counts["survived"]
    rate = 100.0 * counts["killed"] / judged if judged else 0.0
    print(f"killed {counts['killed']}, survived {counts['survived']}, "
          f"did-not-build {counts['did-not-build']}; kill rate {rate:.1f} %")
    for line in survivors:
        print(f"  survived: {line}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
