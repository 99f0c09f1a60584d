#!/usr/bin/env python3
"""Checks that every #include between the folders of src/ (tests aside)
points down the layer order, which is the order of the src/ rows in the README's layout
table (lowest layer first). A file may include its own folder and any
folder above it in the table, never one below it.

    check_layers.py            fail (exit 1) on an include that points up
    check_layers.py --graph    print the include graph between folders
"""

import re
import sys
from collections import Counter
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
ROW = re.compile(r"^\|\s*`src/([a-z_]+)`\s*\|")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/[^"]+"')


def layer_order():
    """The src/ folders in the order of the README's layout table."""
    order = []
    for line in (ROOT / "README.md").read_text(encoding="utf-8").splitlines():
        match = ROW.match(line)
        if match:
            order.append(match.group(1))
    return order


def includes():
    """(including folder, included folder, file, line number) of every
    include of one src/ folder by a file of another."""
    for path in sorted((ROOT / "src").rglob("*")):
        # Tests sit beside their code but may reach the in-memory system and
        # the whole run: only the program's own files are checked.
        if path.suffix not in (".h", ".cpp") or path.stem.endswith("_test"):
            continue
        parts = path.relative_to(ROOT / "src").parts
        folder = parts[0] if len(parts) > 1 else "frontend"  # main.cpp is the entry
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if match and match.group(1) != folder:
                yield folder, match.group(1), path.relative_to(ROOT), number


def main(argv):
    edges = list(includes())
    if "--graph" in argv:
        for (source, target), count in sorted(Counter((s, t) for s, t, _, _ in edges).items()):
            print("%-9s -> %-9s %3d" % (source, target, count))
        return 0
    order = layer_order()
    rank = {folder: i for i, folder in enumerate(order)}
    bad = []
    for source, target, path, number in edges:
        if source not in rank or target not in rank:
            bad.append("%s:%d: src/%s is not in the README's layout table"
                       % (path, number, target if source in rank else source))
        elif rank[target] > rank[source]:
            bad.append("%s:%d: %s includes %s, which builds on it" % (path, number, source, target))
    for line in bad:
        print(line)
    if bad:
        print("layer order (lowest first): %s" % " < ".join(order))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
