#!/usr/bin/env python3
"""Builds the benchmark tree: FOLDERS folders in two levels, FILES files
spread evenly over them. A tenth of the files end in .tmp (a third of those
in upper case, .TMP), a tenth have no dot at all, the rest are ordinary
names. Every file holds a few bytes so that sizes are not all zero.

usage: make_tree.py ROOT [FILES] [FOLDERS]
"""
import os
import sys


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    root = sys.argv[1]
    files = int(sys.argv[2]) if len(sys.argv) > 2 else 200_000
    folders = int(sys.argv[3]) if len(sys.argv) > 3 else 10_000
    top = max(1, int(folders ** 0.5))
    per_top = max(1, folders // top)
    leaves = []
    for i in range(top):
        for j in range(per_top):
            leaves.append(os.path.join(root, f"dir{i:03d}", f"Sub{j:03d}"))
    per_leaf = files // len(leaves)
    extra = files - per_leaf * len(leaves)
    n = 0
    for k, leaf in enumerate(leaves):
        os.makedirs(leaf, exist_ok=True)
        count = per_leaf + (1 if k < extra else 0)
        for _ in range(count):
            r = n % 10
            if r == 0:
                name = f"junk{n}.TMP" if n % 30 == 0 else f"junk{n}.tmp"
            elif r == 1:
                name = f"NODOT{n}"
            elif r == 2:
                name = f"Report{n}.DOC"
            else:
                name = f"file{n}.dat"
            with open(os.path.join(leaf, name), "wb") as f:
                f.write(b"x" * (n % 64))
            n += 1
    print(f"{n} files in {len(leaves) + top} folders below {root}")


if __name__ == "__main__":
    main()
