#!/usr/bin/env python3
"""Mutation testing of the plug-ins' own code: plants one small fault at a
time and sees whether some test notices it.

  tools/mutants.py choose [--seed N] [--count N] > tools/mutants.txt
  tools/mutants.py run [--list FILE] [--only K,...] [--log FILE] WORKTREE

choose lists the places in common/, replay/, image/ and editor/ where a fault
can be planted (a comparison flipped, && and || swapped, a + 1 or - 1
dropped, a constant changed by one, return true and false swapped) and picks
COUNT of them with a fixed seed, spread evenly over the four folders. Each
line of the list names the file, the line, the column, the text replaced and
what replaces it, and the line as it stood.

run plants each mutant of the list in WORKTREE (a git worktree of this
repository where ./build has run, which it changes and restores; never this
tree), rebuilds and runs the native tests (the portable core and every fuzz
target's seeds, under the sanitizers) and, only for a mutant that they let
through, the Wine suite of the build that runs here (out/build/cross-x64 or
out/build/cross).
A mutant is killed when a build of a test or a test fails; one whose plug-in
code does not compile does not count. Results go to the log, one line per
mutant, and a summary to standard output.
"""
import argparse
import os
import random
import re
import subprocess
import sys
import time

FOLDERS = ["common", "replay", "image", "editor"]
SOURCE = re.compile(r"\.(cpp|h)$")

# Each rule: a pattern and the replacement of what it matched.
RULES = [
    # Comparisons stand between blanks here; template brackets do not.
    ("flip", re.compile(r"(?<= )(<=|>=|==|!=|<|>)(?= )"),
     {"<=": "<", ">=": ">", "==": "!=", "!=": "==", "<": "<=", ">": ">="}),
    ("logic", re.compile(r"(?<= )(&&|\|\|)(?= )"), {"&&": "||", "||": "&&"}),
    ("drop", re.compile(r"\s[+-] 1\b(?!\.)"), None),
    ("const", re.compile(r"(?<![\w.])(\d+)(?![\w.])"), None),
    ("return", re.compile(r"\breturn (true|false);"), {"return true;": "return false;", "return false;": "return true;"}),
]


def code_lines(path):
    """Lines worth mutating: not comments, includes, asserts of the
    compiler, or template angle brackets."""
    in_block = False
    with open(path, encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            text = line.rstrip("\n")
            stripped = text.strip()
            if in_block:
                if "*/" in stripped:
                    in_block = False
                continue
            if stripped.startswith("/*"):
                in_block = "*/" not in stripped
                continue
            if (not stripped or stripped.startswith(("//", "#", "static_assert"))
                    or "template" in stripped):
                continue
            yield number, text


def strip_comment_and_strings(text):
    """The line with its trailing comment, string and char literals blanked,
    so that no mutant is planted in them."""
    out, i, quote = [], 0, None
    while i < len(text):
        c = text[i]
        if quote:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            out.append(" " if c != quote else c)
            if c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            out.append(c)
        elif text.startswith("//", i):
            break
        else:
            out.append(c)
        i += 1
    return "".join(out).ljust(len(text))


def sites(root):
    for folder in FOLDERS:
        for name in sorted(os.listdir(os.path.join(root, folder))):
            if not SOURCE.search(name):
                continue
            path = f"{folder}/{name}"
            for number, text in code_lines(os.path.join(root, path)):
                plain = strip_comment_and_strings(text)
                if "virtual" in plain:
                    plain = plain.replace("= 0;", "     ")  # pure virtual, not a constant
                for kind, pattern, table in RULES:
                    for m in pattern.finditer(plain):
                        old = m.group(0)
                        if kind == "drop":
                            new = ""
                        elif kind == "const":
                            value = int(old)
                            if value > 1 << 20 or old.startswith("0") and len(old) > 1:
                                continue
                            new = str(value + 1)
                        else:
                            new = table[old]
                        yield folder, (path, number, m.start() + 1, old, new, text.strip())


def choose(args):
    root = repo_root()
    by_folder = {f: [] for f in FOLDERS}
    for folder, site in sites(root):
        by_folder[folder].append(site)
    rng = random.Random(args.seed)
    per_folder = args.count // len(FOLDERS)
    chosen = []
    for folder in FOLDERS:
        chosen += rng.sample(by_folder[folder], min(per_folder, len(by_folder[folder])))
    chosen.sort()
    print(f"# tools/mutants.py choose --seed {args.seed} --count {args.count}: "
          f"{sum(len(v) for v in by_folder.values())} places, {len(chosen)} chosen")
    print("# FILE:LINE:COLUMN <TAB> OLD <TAB> NEW <TAB> the line as it stood")
    for path, number, column, old, new, text in chosen:
        print(f"{path}:{number}:{column}\t{old}\t{new}\t{text}")


def read_list(path):
    mutants = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            where, old, new, text = line.rstrip("\n").split("\t")
            file, number, column = where.split(":")
            mutants.append((file, int(number), int(column), old, new, text))
    return mutants


def plant(tree, mutant):
    """Writes the mutant into the tree; returns the file's old content, or
    None when no line of the file is as the line stood."""
    file, number, column, old, new, text = mutant
    path = os.path.join(tree, file)
    with open(path, encoding="utf-8") as f:
        content = f.read()
    lines = content.split("\n")
    # The line as it stood, where it is now: the nearest with the same text.
    same = [i + 1 for i, line in enumerate(lines) if line.strip() == text]
    if not same:
        return None
    number = min(same, key=lambda n: abs(n - number))
    line = lines[number - 1]
    start = column - 1
    if line[start:start + len(old)] != old:
        return None
    lines[number - 1] = line[:start] + new + line[start + len(old):]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    return content


def sh(command, tree, log, timeout):
    """Runs a command in the tree; True when it succeeded."""
    log.write(f"$ {command}\n")
    log.flush()
    try:
        done = subprocess.run(["bash", "-c", command], cwd=tree, stdout=log, stderr=subprocess.STDOUT,
                              timeout=timeout)
        return done.returncode == 0
    except subprocess.TimeoutExpired:
        log.write("timed out\n")
        return False


def wine_build(tree):
    arch = open(os.path.join(tree, "out/build/cross/wine-arch.txt")).read().strip()
    return "out/build/cross" if arch == "win32" else "out/build/cross-x64"


def run(args):
    tree = os.path.abspath(args.worktree)
    if os.path.samefile(tree, repo_root()):
        sys.exit("mutants: WORKTREE must be another work tree, not this one")
    mutants = read_list(args.list)
    wanted = set(int(k) for k in args.only.split(",")) if args.only else None
    jobs = os.cpu_count() or 1
    native = "out/build/mutants-native"
    wine = wine_build(tree)
    prepare = (f"cmake -S . -B {native} -DCMAKE_BUILD_TYPE=Debug -DKVP_FUZZ_REPLAY=ON "
               "-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "
               "'-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=all' "
               "'-DCMAKE_C_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=all' >/dev/null")
    build_native = f"cmake --build {native} -j{jobs}"
    test_native = f"ctest --test-dir {native} -j{jobs} --no-tests=error --output-on-failure"
    build_wine = f"cmake --build {wine} -j{jobs} --target all"
    test_wine = f"xvfb-run -a ctest --test-dir {wine} --no-tests=error --output-on-failure -E 'release_archive'"
    with open(args.log, "a", encoding="utf-8") as log:
        if not sh(prepare, tree, log, 600) or not sh(build_native, tree, log, 3600) \
                or not sh(test_native, tree, log, 1200):
            sys.exit("mutants: the native tests do not pass without a mutant (see the log)")
        if not sh(build_wine, tree, log, 3600):
            sys.exit("mutants: the Wine build fails without a mutant (see the log)")
        results = []
        for index, mutant in enumerate(mutants, 1):
            if wanted and index not in wanted:
                continue
            file, number, column, old, new, _ = mutant
            name = f"{index:2} {file}:{number}:{column} {old!r}->{new!r}"
            started = time.time()
            saved = plant(tree, mutant)
            if saved is None:
                verdict = "gone"
            else:
                log.write(f"\n=== mutant {name}\n")
                try:
                    if not sh(build_native, tree, log, 3600):
                        verdict = "no-compile"
                    elif not sh(test_native, tree, log, 1200):
                        verdict = "killed-native"
                    elif not sh(build_wine, tree, log, 3600):
                        verdict = "no-compile"
                    elif not sh(test_wine, tree, log, 3600):
                        verdict = "killed-wine"
                    else:
                        verdict = "survived"
                finally:
                    with open(os.path.join(tree, file), "w", encoding="utf-8") as f:
                        f.write(saved)
            results.append((name, verdict))
            line = f"{name}: {verdict} ({time.time() - started:.0f} s)"
            log.write(f"=== {line}\n")
            log.flush()
            print(line, flush=True)
        # The tree as it was: its builds again without a mutant.
        sh(build_native, tree, log, 3600)
        sh(build_wine, tree, log, 3600)
    counted = [v for _, v in results if v not in ("gone", "no-compile")]
    killed = [v for v in counted if v.startswith("killed")]
    print(f"mutants: {len(killed)} of {len(counted)} killed "
          f"({len(results) - len(counted)} not counted: gone or not compiling)")
    for name, verdict in results:
        if verdict == "survived":
            print(f"  survived: {name}")


def repo_root():
    return subprocess.run(["git", "rev-parse", "--show-toplevel"], cwd=os.path.dirname(os.path.abspath(__file__)),
                          capture_output=True, text=True, check=True).stdout.strip()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest="command", required=True)
    c = sub.add_parser("choose")
    c.add_argument("--seed", type=int, default=24)
    c.add_argument("--count", type=int, default=48)
    r = sub.add_parser("run")
    r.add_argument("--list", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "mutants.txt"))
    r.add_argument("--only", default="")
    r.add_argument("--log", default="mutants.log")
    r.add_argument("worktree")
    args = parser.parse_args()
    choose(args) if args.command == "choose" else run(args)


if __name__ == "__main__":
    main()
