#!/usr/bin/env python3
"""Fails when the files of one folder of src/ include each other in a circle.

A header and its sources are one node: X.h, X.cpp, and a source without a header of its own
that defines members of X (ShredFolders.cpp of ShredEngine). An #include "X.h" or "folder/X.h"
of the same folder is an edge to X."""
import pathlib, re, sys

src = pathlib.Path(__file__).resolve().parent.parent / "src"
include = re.compile(r'^\s*#\s*include\s+"(?:([\w/]+)/)?(\w+)\.h(?:\.in)?"', re.M)
circles = []
for folder in sorted(p for p in src.rglob("*") if p.is_dir()):
    here, edges = str(folder.relative_to(src)), {}
    texts = {f: f.read_text(errors="replace") for f in folder.iterdir() if f.suffix in (".cpp", ".h", ".in")}
    stems = {f.name.split(".")[0] for f in texts if ".h" in f.suffixes}
    for f, text in texts.items():
        names = [n for d, n in include.findall(text) if d in ("", here) and n in stems]
        own = f.name.split(".")[0]
        if own not in stems:  # a source that defines the members of a class of another file
            own = next((n for n in names if re.search(rf"^[^\s#/].*\b{n}::~?\w+\(", text, re.M)), own)
        edges.setdefault(own, set()).update(n for n in names if n != own)

    def walk(node, path):
        for nxt in sorted(edges.get(node, ())):
            if nxt == path[0]:
                circles.append(f"{here}: " + " -> ".join(path + [nxt]))
            elif nxt not in path and nxt > path[0]:  # each circle once, from its least node
                walk(nxt, path + [nxt])

    for node in sorted(edges):
        walk(node, [node])
for circle in circles:
    print("circle of includes: " + circle, file=sys.stderr)
print(f"includes: {len(circles)} circles")
sys.exit(1 if circles else 0)
