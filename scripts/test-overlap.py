#!/usr/bin/env python3
"""Which core tests overlap: builds the native core tests with gcc's coverage
instrumentation, runs each test alone, and writes for every test the source
lines under src/ that it executes and no other test does, and the tests that
execute every line it does.

A test with no lines of its own is only a candidate for removal: it may assert
something the others do not. Tests that fork (a child process writes no
coverage data) show fewer lines than they reach.

usage: scripts/test-overlap.py [BUILD_DIR] [REPORT]
  BUILD_DIR  default build/overlap
  REPORT     default BUILD_DIR/test-overlap.txt
Takes about ten minutes on two cores (one build, then each test alone)."""
import collections
import glob
import json
import os
import subprocess
import sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "overlap"))
report = sys.argv[2] if len(sys.argv) > 2 else os.path.join(build, "test-overlap.txt")

subprocess.run(["cmake", "-S", root, "-B", build, "-DCMAKE_BUILD_TYPE=Debug",
                "-DCMAKE_CXX_FLAGS=--coverage -O0", "-DCMAKE_EXE_LINKER_FLAGS=--coverage"],
               check=True, stdout=subprocess.DEVNULL)
subprocess.run(["cmake", "--build", build, "-j2", "--target", "cindral_tests"], check=True,
               stdout=subprocess.DEVNULL)
exe = os.path.join(build, "bin", "cindral_tests")

tests, suite = [], None
listing = subprocess.run([exe, "--gtest_list_tests"], capture_output=True, text=True, check=True)
for line in listing.stdout.splitlines():
    name = line.split("#")[0].strip()
    if not name:
        continue
    if line.startswith(" "):
        tests.append(suite + name)
    else:
        suite = name

# The product's own objects only: the tests' objects would make every test unique.
objects = [os.path.join(build, "CMakeFiles", d) for d in ("cindral.dir", "cindral_cli.dir")]


def counters():
    return [f for d in objects for f in glob.glob(os.path.join(d, "**", "*.gcda"), recursive=True)]


executed = {}
for number, test in enumerate(tests, 1):
    for f in counters():
        os.remove(f)
    subprocess.run([exe, "--gtest_filter=" + test], cwd=build, capture_output=True, timeout=600)
    lines = set()
    for f in counters():
        out = subprocess.run(["gcov", "--json-format", "--stdout", "-o", os.path.dirname(f), f],
                             cwd=build, capture_output=True, text=True).stdout
        for document in out.splitlines():
            if not document.startswith("{"):
                continue
            for source in json.loads(document).get("files", []):
                path = source["file"]
                if "/src/" not in path:
                    continue
                path = path[path.index("/src/") + 1:]
                lines.update((path, l["line_number"]) for l in source["lines"] if l["count"] > 0)
    executed[test] = lines
    print(f"{number}/{len(tests)} {test}: {len(lines)} lines", file=sys.stderr)

runs = collections.Counter(line for lines in executed.values() for line in lines)
rows = []
for test, lines in executed.items():
    own = sorted(line for line in lines if runs[line] == 1)
    covering = [other for other in tests if other != test and lines and lines <= executed[other]]
    rows.append((len(own), test, len(lines), own, covering))
rows.sort()

with open(report, "w") as out:
    out.write("own = lines under src/ that this test executes and no other test does\n\n")
    for own_count, test, total, own, covering in rows:
        out.write(f"{test}: executes {total} lines, own {own_count}\n")
        by_file = collections.defaultdict(list)
        for path, line in own:
            by_file[path].append(str(line))
        if by_file:
            out.write("   own: " + "; ".join(f"{p}:{','.join(ls)}" for p, ls in by_file.items()) + "\n")
        if covering:
            out.write("   every line also run by: " + ", ".join(covering) + "\n")
print(f"{sum(1 for r in rows if r[0] == 0)} of {len(rows)} tests execute no line of their own; "
      f"report: {report}")
