#!/usr/bin/env python3
"""Checks every #include of the tree against the module boundaries in
allowed_layers.txt (its header says how to read it).

    check_layering.py [--root DIR] [--rules FILE]

The root defaults to the repository this script lives in, the rules to
allowed_layers.txt beside it. Prints one line per crossing, naming the file,
the line, the include and the rule it breaks; exit status 0 when there is
none, 1 when there are crossings, 2 when the rules cannot be read.

Besides the boundaries it holds two more rules: an internal header (a file
named Internal* or *Impl) is included only by files of its own module (the
benchmarks, which time internals, excepted), and every allowance of the rules
is used by some include, so that the list stays as tight as the code."""

import argparse
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
# The folders whose includes are checked; tests/ may include anything.
CHECKED_ROOTS = ("engine", "app", "game", "tools", "bench")
SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cc", ".cpp", ".inl")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# Modules whose files may include other modules' internal headers.
INTERNALS_OPEN_TO = ("bench",)


def is_internal(path):
    stem = os.path.splitext(os.path.basename(path))[0]
    return stem.startswith("Internal") or stem.endswith("Impl")


def is_folder_or_file(pattern):
    """A module names folders (DIR/**) or single files, never a file-name glob."""
    if pattern.endswith("/**"):
        pattern = pattern[:-3]
    return not any(c in pattern for c in "*?[")


class RulesError(Exception):
    """allowed_layers.txt is malformed."""


def glob_to_regex(pattern):
    """* matches within one folder, ** across folders, ? one character."""
    out = []
    i = 0
    while i < len(pattern):
        if pattern.startswith("**", i):
            out.append(".*")
            i += 2
        elif pattern[i] == "*":
            out.append("[^/]*")
            i += 1
        elif pattern[i] == "?":
            out.append("[^/]")
            i += 1
        else:
            out.append(re.escape(pattern[i]))
            i += 1
    return re.compile("^" + "".join(out) + "$")


class Rules:
    def __init__(self):
        self.modules = []  # (name, [regex]) in file order: the first match owns a path
        self.groups = []   # (name, [regex]) of system headers
        self.allowed = {}  # module name -> set of module and group names

    @staticmethod
    def read(path):
        rules = Rules()
        names = set()
        with open(path) as f:
            lines = list(f)
        for number, raw in enumerate(lines, 1):
            line = raw.split("#", 1)[0].strip()
            if not line:
                continue
            words = line.split()
            kind = words[0]
            where = "%s:%d" % (path, number)
            if kind in ("module", "headers"):
                if len(words) < 3:
                    raise RulesError("%s: \"%s\" needs a name and at least one pattern" % (where, kind))
                name = words[1]
                if kind == "module":
                    globs = [p for p in words[2:] if not is_folder_or_file(p)]
                    if globs:
                        raise RulesError("%s: module \"%s\" names %s: a module is folders (DIR/**) or "
                                         "single files, no file-name glob" % (where, name, ", ".join(globs)))
                if name in names:
                    raise RulesError("%s: \"%s\" is defined twice" % (where, name))
                names.add(name)
                entry = (name, [glob_to_regex(p) for p in words[2:]])
                (rules.modules if kind == "module" else rules.groups).append(entry)
            elif kind == "allow":
                head, _, tail = line[len("allow"):].partition(":")
                name = head.strip()
                if not _ or not name:
                    raise RulesError("%s: write \"allow MODULE: NAME...\"" % where)
                if name in rules.allowed:
                    raise RulesError("%s: \"%s\" has two allow lines" % (where, name))
                rules.allowed[name] = set(tail.split())
            else:
                raise RulesError("%s: unknown line kind \"%s\"" % (where, kind))
        module_names = {name for name, _ in rules.modules}
        for name, targets in rules.allowed.items():
            if name not in module_names:
                raise RulesError("%s: allow line for \"%s\", which is no module" % (path, name))
            unknown = sorted(targets - names)
            if unknown:
                raise RulesError("%s: \"%s\" may include unknown names: %s" % (path, name, ", ".join(unknown)))
        for name in module_names:
            rules.allowed.setdefault(name, set())
        return rules

    @staticmethod
    def _first(entries, path):
        for name, patterns in entries:
            if any(p.match(path) for p in patterns):
                return name
        return None

    def module_of(self, path):
        return self._first(self.modules, path)

    def group_of(self, header):
        return self._first(self.groups, header)


def source_files(root):
    for top in CHECKED_ROOTS:
        base = os.path.join(root, top)
        for folder, dirs, files in os.walk(base):
            dirs[:] = sorted(d for d in dirs if not d.startswith(".") and d != "__pycache__")
            for name in sorted(files):
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")


def resolve_quoted(root, including, target):
    """Our includes name paths from the root; a name that only exists beside
    the including file is taken from there, as the compiler would."""
    if os.path.exists(os.path.join(root, target)):
        return os.path.normpath(target).replace(os.sep, "/")
    beside = os.path.join(os.path.dirname(including), target)
    if os.path.exists(os.path.join(root, beside)):
        return os.path.normpath(beside).replace(os.sep, "/")
    return target


def includes(root, path):
    """(line number, quote, target) of every #include of the file."""
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            match = INCLUDE.match(line)
            if match:
                yield (number,) + match.groups()


def check(root, rules):
    """Every crossing as a line of text, in file order."""
    problems = []
    for path in source_files(root):
        module = rules.module_of(path)
        if module is None:
            problems.append("%s: belongs to no module of the layering rules" % path)
            continue
        allowed = rules.allowed[module]
        for number, quote, target in includes(root, path):
            where = "%s:%d: #include %s%s%s" % (path, number, quote, target, ">" if quote == "<" else '"')
            if quote == '"':
                resolved = resolve_quoted(root, path, target)
                other = rules.module_of(resolved)
                if other is None:
                    problems.append("%s: names no file of a known module" % where)
                elif other != module and other not in allowed:
                    problems.append("%s: %s may not include %s" % (where, module, other))
                elif other != module and is_internal(resolved) and module not in INTERNALS_OPEN_TO:
                    problems.append("%s: internal to %s" % (where, other))
            else:
                group = rules.group_of(target)
                if group is not None and group not in allowed:
                    problems.append("%s: %s may not include %s headers" % (where, module, group))
    return problems


def unused_allowances(root, rules):
    """Every allowance that no include of the module uses, as a line of text."""
    used = {name: set() for name, _ in rules.modules}
    for path in source_files(root):
        module = rules.module_of(path)
        if module is None:
            continue
        for _, quote, target in includes(root, path):
            if quote == '"':
                other = rules.module_of(resolve_quoted(root, path, target))
            else:
                other = rules.group_of(target)
            if other is not None and other != module:
                used[module].add(other)
    problems = []
    for name, _ in rules.modules:
        for target in sorted(rules.allowed[name] - used[name]):
            problems.append("%s may include %s, but no file of it does: drop it from the allow line" %
                            (name, target))
    return problems


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=os.path.dirname(os.path.dirname(HERE)))
    parser.add_argument("--rules", default=os.path.join(HERE, "allowed_layers.txt"))
    args = parser.parse_args(argv[1:])
    try:
        rules = Rules.read(args.rules)
    except (OSError, RulesError) as error:
        print("layering: %s" % error)
        return 2
    root = os.path.abspath(args.root)
    problems = check(root, rules) + unused_allowances(root, rules)
    for problem in problems:
        print(problem)
    if problems:
        print("layering: %d problem(s) with the module boundaries in %s" % (len(problems), args.rules))
        return 1
    print("layering: every include keeps to %s" % args.rules)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
