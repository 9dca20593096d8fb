#!/usr/bin/env python3
"""Keeps the source folders a stack in which includes only point down.

The stack is written once, as the skerry_layer() calls of src/CMakeLists.txt, bottom first:
each call makes one library of its FOLDERS and links it to its LINKS, which must be libraries
declared before it. The programs (add_executable) sit on top. A file may include files of its
own folder, of other folders of its own library as long as no two folders end up including each
other (directly or round a circle), and of the libraries its library links, directly or through
others. The drawing of the stack in README.md must name the same folders and libraries in the
same order, top first. The test suite runs this; it prints each include or difference that
breaks the rule and exits 1, or exits 0 when the stack holds.

Usage: check-layers.py [SOURCE_ROOT]   (default: the src/ folder beside tools/)
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)
CALL = re.compile(r"\b(skerry_layer|add_executable|target_sources|target_link_libraries)"
                  r"\s*\(([^)]*)\)")
KEYWORDS = {"PRIVATE", "PUBLIC", "INTERFACE", "FOLDERS", "LINKS"}


class Library:
    def __init__(self, name):
        self.name = name
        self.folders = []
        self.links = []


def read_stack(cmake_file, problems):
    """The libraries in the order of their skerry_layer() calls, and the programs."""
    text = re.sub(r"#.*", "", cmake_file.read_text(encoding="utf-8"))
    layers = {}
    programs = {}
    for command, arguments in CALL.findall(text):
        words = arguments.split()
        name, rest = words[0], words[1:]
        if command == "skerry_layer":
            library = layers.setdefault(name, Library(name))
            section = None
            for word in rest:
                if word in KEYWORDS:
                    section = word
                elif section == "FOLDERS":
                    library.folders.append(word)
                elif section == "LINKS":
                    library.links.append(word)
            continue
        if command == "add_executable":
            programs[name] = Library(name)
        target = layers.get(name) or programs.get(name)
        if target is None:
            continue
        for word in rest:
            if word in KEYWORDS or word.startswith("$"):
                continue
            if command == "target_link_libraries":
                target.links.append(word)
            elif "/" in word and target.name in programs:
                folder = word.rsplit("/", 1)[0]
                if folder not in target.folders:
                    target.folders.append(folder)

    # Each library links only libraries declared before it, so the calls read bottom to top.
    declared = set()
    for target in list(layers.values()) + list(programs.values()):
        for link in target.links:
            if link in layers and link not in declared:
                problems.append(f"src/CMakeLists.txt: {target.name} links {link}, which is "
                                "declared after it")
        declared.add(target.name)
    return list(layers.values()), list(programs.values())


def reachable(target, by_name):
    """The libraries a target links, directly or through others."""
    found = set()
    todo = [link for link in target.links if link in by_name]
    while todo:
        name = todo.pop()
        if name not in found:
            found.add(name)
            todo.extend(link for link in by_name[name].links if link in by_name)
    return found


def read_drawing(readme, names):
    """The rows of README.md's drawing of the stack, top first, as (folders, libraries).

    A row starts at a line that starts at the left; its folders may go on over the next lines,
    "skerry/input operations" meaning skerry/input and skerry/operations. The row's first
    library or program starts the column of names; everything else there describes the row.
    """
    text = readme.read_text(encoding="utf-8")
    blocks = re.findall(r"^```[^\n]*\n(.*?)^```", text, re.M | re.S)
    rows = []
    for line in next((b for b in blocks if "skerry_ground" in b), "").splitlines():
        words = [(m.start(), m.group()) for m in re.finditer(r"\S+", line)]
        if not words or words[0][1].startswith("─"):
            continue
        if words[0][0] <= 1:
            column = next((at for at, word in words if word in names), len(line))
            rows.append(([], []))
            prefix = ""
        folders, libraries = rows[-1]
        for at, word in words:
            if at >= column:
                if word in names:
                    libraries.append(word)
            elif "/" in word:
                prefix = word[:word.index("/") + 1]
                folders.append(word.rstrip("/"))
            else:
                folders.append(prefix + word)
    return rows


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else
                        pathlib.Path(__file__).resolve().parent.parent / "src")
    problems = []
    layers, programs = read_stack(root / "CMakeLists.txt", problems)
    by_name = {target.name: target for target in layers}
    # The programs share their folder; includes there may reach what any of them links.
    top = Library(" and ".join(sorted(p.name for p in programs)))
    for program in programs:
        top.folders += [f for f in program.folders if f not in top.folders]
        top.links += program.links
    owner = {folder: target for target in layers + [top] for folder in target.folders}

    # The drawing, read from the bottom up, names the libraries in the order of their calls,
    # then the programs' folder and the programs.
    expected = [(t.folders, [t.name]) for t in layers]
    expected.append((top.folders, sorted(p.name for p in programs)))
    drawn = read_drawing(root.parent / "README.md", {t.name for t in layers + programs})
    drawn = [(folders, sorted(names) if n == 0 else names)
             for n, (folders, names) in enumerate(drawn)][::-1]
    for n in range(max(len(drawn), len(expected))):
        have = drawn[n] if n < len(drawn) else "nothing"
        want = expected[n] if n < len(expected) else "nothing"
        if have != want:
            problems.append(f"README.md: row {n + 1} from the bottom of the drawing of the stack "
                            f"names {have}, src/CMakeLists.txt {want}")

    edges = {}
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        rel = path.relative_to(root)
        folder = rel.parent.as_posix()
        if folder not in owner:
            problems.append(f"{rel}: folder {folder} belongs to no library or program")
            continue
        mine = owner[folder]
        below = reachable(mine, by_name)
        for target in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            target_folder = pathlib.PurePosixPath(target).parent.as_posix()
            if target_folder == folder:
                continue
            theirs = owner.get(target_folder)
            if theirs is None:
                problems.append(f"{rel}: includes {target}, from a folder of no library")
            elif theirs is mine:
                edges.setdefault(folder, set()).add(target_folder)
            elif theirs.name not in below:
                problems.append(f"{rel}: includes {target}, but {mine.name} does not link "
                                f"{theirs.name}")

    # Folders of one library may use one another only one way round: no circles.
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
    print(f"{len(owner)} folders in {len(layers)} libraries and {len(programs)} programs, as "
          "README.md draws them; every include points down")
    return 0


sys.exit(main())
