#!/usr/bin/env python3
"""Keeps the source folders a stack in which includes only point down.

Every folder under src/ has a layer; a file may include files of its own folder, of folders in
lower layers, and of other folders in its own layer as long as no two folders end up including
each other, directly or round a circle. The test suite runs this; it prints each include that
breaks the rule and exits 1, or exits 0 when the stack holds.

Usage: check-layers.py [SOURCE_ROOT]   (default: the src/ folder beside tools/)
"""
import pathlib
import re
import sys

# Bottom to top. Folders in one entry form one layer (one CMake target).
LAYERS = [
    ["skerry/ground"],
    ["skerry/model"],
    ["skerry/input", "skerry/operations", "skerry/output", "skerry/editor", "skerry/export",
     "skerry/colours", "skerry/suggest"],
    ["skerry/session"],
    ["skerry/commands", "skerry/batch"],
    ["skerryui/base", "skerryui/export", "skerryui/platform"],
    ["skerryui/editor", "skerryui/colours", "skerryui/operations"],
    ["skerryui/mainwindow"],
    ["app"],
]
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else
                        pathlib.Path(__file__).resolve().parent.parent / "src")
    layer_of = {folder: n for n, layer in enumerate(LAYERS) for folder in layer}
    problems = []
    edges = {}
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        rel = path.relative_to(root)
        folder = rel.parent.as_posix()
        if folder not in layer_of:
            problems.append(f"{rel}: folder {folder} has no layer")
            continue
        for target in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            target_folder = pathlib.PurePosixPath(target).parent.as_posix()
            if target_folder == folder:
                continue
            if target_folder not in layer_of:
                problems.append(f"{rel}: includes {target}, from a folder with no layer")
            elif layer_of[target_folder] > layer_of[folder]:
                problems.append(f"{rel}: includes {target}, which lies above it")
            else:
                edges.setdefault(folder, set()).add(target_folder)

    # Folders of one layer may use one another only one way round: no circles.
    state = {}

    def visit(folder, trail):
        state[folder] = "open"
        for nxt in sorted(edges.get(folder, ())):
            if state.get(nxt) == "open":
                circle = trail[trail.index(nxt):] + [nxt]
                problems.append("folders include one another: " + " -> ".join(circle))
            elif nxt not in state:
                visit(nxt, trail + [nxt])
        state[folder] = "done"

    for folder in sorted(edges):
        if folder not in state:
            visit(folder, [folder])

    for problem in problems:
        print(problem)
    if problems:
        return 1
    print(f"{len(layer_of)} folders in {len(LAYERS)} layers; every include points down")
    return 0


sys.exit(main())
