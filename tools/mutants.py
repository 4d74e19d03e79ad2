#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
"""Seeds faults into src/, one at a time, and tells which ones the test suite catches.

Each mutant changes one place: a comparison or logical operator flipped (== and !=, < and >=,
> and <=, && and ||), true and false swapped, or an integer literal doubled. The places are
sampled at random with a fixed seed, so that two runs on one tree seed the same faults. A
mutant is caught when a test fails, and fails again when run once more; one that does not
build is counted apart. The compositor sessions are left out (they take minutes each).

    tools/mutants.py [--count 30] [--seed 1] [--only PATH_PART] [--list]

It works in a copy of the committed tree (a git worktree in $TMPDIR), builds there, and
leaves the checkout alone. Every test gets at most five minutes: one that hangs has failed.
"""
import argparse
import os
import pathlib
import random
import re
import signal
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent
LEFT_OUT = "^e2e_session_(mutter|kwin|sway)$"
OPERATORS = [(" == ", " != "), (" != ", " == "), (" <= ", " > "), (" >= ", " < "),
             (" < ", " >= "), (" > ", " <= "), (" && ", " || "), (" || ", " && ")]
WORDS = [("true", "false"), ("false", "true")]


def code_of(line):
    """The line with string literals and comments blanked, so that no site falls in them."""
    line = re.sub(r'"(\\.|[^"\\])*"', lambda m: " " * len(m.group()), line)
    line = re.sub(r"'(\\.|[^'\\])*'", lambda m: " " * len(m.group()), line)
    return line.split("//")[0]


def sites(root):
    found = []
    for path in sorted((root / "src").rglob("*")):
        if path.suffix not in (".cpp", ".h"):
            continue
        for number, line in enumerate(path.read_text().splitlines(), 1):
            stripped = line.strip()
            if stripped.startswith(("#", "//", "*", "/*")) or "static_assert" in line:
                continue
            code = code_of(line)
            for old, new in OPERATORS:
                for m in re.finditer(re.escape(old), code):
                    found.append((path.relative_to(root), number, m.start(), old, new))
            for old, new in WORDS:
                for m in re.finditer(r"\b%s\b" % old, code):
                    found.append((path.relative_to(root), number, m.start(), old, new))
            for m in re.finditer(r"(?<![\w.])(\d+)(?![\w.'])", code):
                if int(m.group(1)) != 0:
                    found.append((path.relative_to(root), number, m.start(), m.group(1),
                                  str(2 * int(m.group(1)))))
    return found


def run(command, cwd, timeout=1800):
    """The command's status and output; one that hangs is ended with all it started."""
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, text=True, start_new_session=True)
    try:
        output = process.communicate(timeout=timeout)[0]
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        return 124, process.communicate()[0]
    return process.returncode, output


def failed_tests(output):
    """The tests a ctest run names as failed."""
    return re.findall(r"^\s*\d+ - (\S+) \(", output, re.M)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=30)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--only", default="", help="only places whose path holds this")
    parser.add_argument("--list", action="store_true", help="name the mutants, run nothing")
    args = parser.parse_args()
    def sample(root):
        candidates = [s for s in sites(root) if args.only in str(s[0])]
        return random.Random(args.seed).sample(candidates, min(args.count, len(candidates)))
    if args.list:
        for path, number, column, old, new in sample(ROOT):
            print(f"{path}:{number}:{column + 1}: {old.strip()} -> {new.strip()}")
        return 0
    work = pathlib.Path(tempfile.mkdtemp(prefix="kelvane-mutants-"))
    tree = work / "tree"
    subprocess.run(["git", "worktree", "add", "--detach", str(tree), "HEAD"], cwd=ROOT,
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    chosen = sample(tree)
    build = tree / "build"
    try:
        subprocess.run(["cmake", "-S", ".", "-B", "build", "-G", "Ninja",
                        "-DCMAKE_BUILD_TYPE=Release"], cwd=tree, check=True,
                       stdout=subprocess.DEVNULL)
        if run(["cmake", "--build", "build"], tree)[0] != 0:
            print("the tree itself does not build")
            return 2
        tally = {"caught": 0, "survived": 0, "no build": 0}
        for path, number, column, old, new in chosen:
            target = tree / path
            original = target.read_text()
            lines = original.splitlines(keepends=True)
            line = lines[number - 1]
            lines[number - 1] = line[:column] + new + line[column + len(old):]
            target.write_text("".join(lines))
            ctest = ["ctest", "--test-dir", "build", "--timeout", "300"]
            builds = run(["cmake", "--build", "build"], tree)[0] == 0
            status, output = run(ctest + ["-j2", "-E", LEFT_OUT], tree) if builds else (0, "")
            failed = failed_tests(output)
            if not builds:
                verdict = "no build"
            elif status == 0:
                verdict = "survived"
            elif failed and run(ctest + ["-R", "^(%s)$" % "|".join(failed)], tree)[0] != 0:
                verdict = "caught"
            else:
                verdict = "survived"  # failed once only: not counted as caught
            tally[verdict] += 1
            target.write_text(original)
            name = f"{path}:{number}: {old.strip()} -> {new.strip()}"
            print(f"{verdict:9} {name}", flush=True)
        run(["cmake", "--build", "build"], tree)
        built = tally["caught"] + tally["survived"]
        print(f"caught {tally['caught']} of {built} that built "
              f"({100 * tally['caught'] // max(built, 1)} %); {tally['no build']} did not build")
    finally:
        subprocess.run(["git", "worktree", "remove", "--force", str(tree)], cwd=ROOT,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return 0


if __name__ == "__main__":
    sys.exit(main())
