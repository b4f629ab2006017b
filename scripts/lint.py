#!/usr/bin/python3
"""Checks that keep the tree readable, run by CTest as the test `lint`.

1. No Qt include in a folder below the Qt line.
2. Every include points down: from a folder to itself or to a folder listed before it in
   DESIGN.md's target table.
3. No include cycle between the units (X.h with X.cpp) of our code.
4. No function outside the tests longer than 120 lines.
5. No POSIX-only header in the Qt-free folders, which are built for Windows too, except in the
   branch of a platform test (#ifdef _WIN32 ... #else, #ifndef _WIN32).

The folders, their order and their side of the Qt line are read from DESIGN.md, so the map and
the check cannot drift apart. Exits 1 and lists every finding when something fails.
"""

import pathlib
import re
import sys

MAX_FUNCTION_LINES = 120
SOURCE_SUFFIXES = {".h", ".hpp", ".c", ".cpp"}
QT_INCLUDE = re.compile(r'^\s*#\s*include\s*[<"](Q[A-Za-z0-9_]*|Qt[A-Za-z]*/[^>"]*)[>"]', re.M)
LOCAL_INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)
# Headers of POSIX systems that Windows compilers lack or only MinGW imitates.
POSIX_HEADERS = {
    "unistd.h", "dlfcn.h", "dirent.h", "pthread.h", "pwd.h", "grp.h", "libgen.h", "glob.h",
    "fnmatch.h", "spawn.h", "poll.h", "termios.h", "strings.h", "syslog.h", "sys/wait.h",
    "sys/mman.h", "sys/socket.h", "sys/time.h", "sys/resource.h", "sys/utsname.h",
    "sys/ioctl.h", "sys/select.h", "sys/file.h", "sys/uio.h", "netinet/in.h", "arpa/inet.h",
}


def read_target_table(design):
    """Rows of the table headed | Folder | Side | Targets | ... in DESIGN.md, lowest first:
    a list of (folder, qt_free)."""
    rows = []
    in_table = False
    for line in design.read_text(encoding="utf-8").splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if not line.lstrip().startswith("|"):
            if in_table:
                break
            continue
        if cells and cells[0] == "Folder":
            in_table = True
            continue
        if not in_table or set(cells[0]) <= set("-: "):
            continue
        folder = cells[0].strip("`").rstrip("/")
        side = cells[1].lower()
        if side not in ("qt-free", "qt"):
            sys.exit(f"lint: DESIGN.md: side of {folder} must be Qt-free or Qt, not '{cells[1]}'")
        rows.append((folder, side == "qt-free"))
    if not rows:
        sys.exit("lint: DESIGN.md has no target table (| Folder | Side | Targets | ...)")
    return rows


class Tree:
    def __init__(self, root, rows):
        self.root = root
        self.rows = rows

    def row_of(self, path):
        """Index of the table row whose folder holds path (the longest match), or None."""
        rel = path.relative_to(self.root).as_posix()
        best, best_len = None, -1
        for i, (folder, _) in enumerate(self.rows):
            if (rel == folder or rel.startswith(folder + "/")) and len(folder) > best_len:
                best, best_len = i, len(folder)
        return best

    def resolve(self, source, name):
        """The file an include "name" in source names, or None for one not of ours."""
        for base in (source.parent, self.root, self.root / "engine" / "include",
                     self.root / "engine"):
            candidate = (base / name).resolve()
            if candidate.is_file() and self.root in candidate.parents:
                return candidate
        return None


def strip_code(text):
    """The text with comments, string and character literals and preprocessor lines blanked,
    newlines kept, so that braces can be counted and lines numbered."""
    out = []
    i, n = 0, len(text)
    at_line_start = True
    while i < n:
        c = text[i]
        if at_line_start and c == "#":
            while i < n and text[i] != "\n":
                # A continued preprocessor line goes on to the next.
                if text[i] == "\\" and i + 1 < n and text[i + 1] == "\n":
                    out.append("\n")
                    i += 2
                    continue
                i += 1
            continue
        if c == "\n":
            at_line_start = True
            out.append(c)
            i += 1
            continue
        if not c.isspace():
            at_line_start = False
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                i += 1
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append("\n" * text.count("\n", i, end))
            i = end
        elif text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            open_paren = text.find("(", i)
            delim = text[i + 2:open_paren]
            end = text.find(")" + delim + '"', open_paren)
            end = n if end < 0 else end + len(delim) + 2
            out.append('""' + "\n" * text.count("\n", i, end))
            i = end
        elif c in "\"'":
            # A digit separator (1'000) is no literal.
            if c == "'" and i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum():
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


CONTAINER = re.compile(r"\b(namespace|class|struct|union|enum|extern)\b")
NAME_BEFORE_PAREN = re.compile(r"([A-Za-z_~][A-Za-z0-9_:~<>]*|operator\s*[^\s(]+)\s*\(")


def long_functions(text):
    """(line, name, length) of every function body longer than the limit."""
    code = strip_code(text)
    found = []
    stack = []  # per open brace: "scope" (namespace, class, ...), "function" or "other"
    header_start = 0
    function_start = None
    line = 1
    for i, c in enumerate(code):
        if c == "\n":
            line += 1
        elif c in ";":
            if all(k == "scope" for k in stack):
                header_start = i + 1
        elif c == "{":
            if all(k == "scope" for k in stack):
                header = code[header_start:i]
                flat = " ".join(header.split())
                if "(" not in flat and CONTAINER.search(flat):
                    stack.append("scope")
                    header_start = i + 1
                elif "(" in flat and not re.search(r"=\s*$", flat):
                    names = NAME_BEFORE_PAREN.findall(flat.split(")")[0] + ")")
                    name = names[-1] if names else "?"
                    function_start = (line, name)
                    stack.append("function")
                else:
                    stack.append("other")
            else:
                stack.append("other")
        elif c == "}":
            kind = stack.pop() if stack else "scope"
            if kind == "function" and function_start:
                start, name = function_start
                length = line - start + 1
                if length > MAX_FUNCTION_LINES:
                    found.append((start, name, length))
                function_start = None
            if all(k == "scope" for k in stack):
                header_start = i + 1
    return found


def posix_includes(text):
    """(line, header) of every POSIX-only include that is not inside a branch of a platform
    test: an #if, #ifdef or #ifndef naming _WIN32, or the #elif and #else that follow it."""
    found = []
    stack = []  # per open conditional: does it test the platform?
    for number, line in enumerate(text.splitlines(), 1):
        m = re.match(r"\s*#\s*(if|ifdef|ifndef|elif|else|endif)\b(.*)", line)
        if m:
            word, rest = m.groups()
            if word in ("if", "ifdef", "ifndef"):
                stack.append("_WIN32" in rest)
            elif word == "endif" and stack:
                stack.pop()
            continue
        m = re.match(r"\s*#\s*include\s*<([^>]+)>", line)
        if m and m.group(1) in POSIX_HEADERS and not any(stack):
            found.append((number, m.group(1)))
    return found


def unit_of(path):
    return path.with_suffix("")


def find_cycles(edges):
    """Strongly connected groups of more than one unit (Tarjan)."""
    index, low, on_stack, stack, groups = {}, {}, set(), [], []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in edges.get(v, ()):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    sys.setrecursionlimit(10000)
    for v in list(edges):
        if v not in index:
            visit(v)
    return groups


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    rows = read_target_table(root / "DESIGN.md")
    tree = Tree(root, rows)
    problems = []

    sources = []
    for folder, _ in rows:
        place = root / folder
        found = [place] if place.is_file() else place.rglob("*")
        sources += [p for p in found if p.suffix in SOURCE_SUFFIXES]
    sources = sorted(set(sources))
    for p in (root / "bench").rglob("*"):
        if p.suffix in SOURCE_SUFFIXES:
            sources.append(p)

    edges = {}
    for path in sources:
        rel = path.relative_to(root).as_posix()
        text = path.read_text(encoding="utf-8", errors="replace")
        row = tree.row_of(path)
        if row is not None:
            folder, qt_free = rows[row]
            if qt_free:
                for ln, header in posix_includes(text):
                    problems.append(f"{rel}:{ln}: POSIX header <{header}> in {folder}/, which "
                                    "is built for Windows too; put it in the POSIX branch of "
                                    "an #ifdef _WIN32")
                for m in QT_INCLUDE.finditer(text):
                    ln = text.count("\n", 0, m.start()) + 1
                    problems.append(f"{rel}:{ln}: Qt include <{m.group(1)}> below the Qt line "
                                    f"({folder}/ is Qt-free)")
            for m in LOCAL_INCLUDE.finditer(text):
                target = tree.resolve(path, m.group(1))
                if target is None:
                    continue
                edges.setdefault(unit_of(path), set()).add(unit_of(target))
                target_row = tree.row_of(target)
                if target_row is None:
                    ln = text.count("\n", 0, m.start()) + 1
                    problems.append(f"{rel}:{ln}: includes {m.group(1)}, outside every target")
                elif target_row > row:
                    ln = text.count("\n", 0, m.start()) + 1
                    problems.append(f"{rel}:{ln}: includes {m.group(1)} upward "
                                    f"({folder}/ stands below {rows[target_row][0]}/)")
        for start, name, length in long_functions(text):
            problems.append(f"{rel}:{start}: {name} is {length} lines "
                            f"(limit {MAX_FUNCTION_LINES}); split it into named steps")

    for v in edges:
        edges[v].discard(v)
    for group in find_cycles(edges):
        names = " <-> ".join(g.relative_to(root).as_posix() for g in group)
        problems.append(f"include cycle: {names}")

    for p in problems:
        print(p)
    if problems:
        print(f"lint: {len(problems)} finding(s)")
        return 1
    print(f"lint: {len(sources)} files checked, nothing found")
    return 0


if __name__ == "__main__":
    sys.exit(main())
