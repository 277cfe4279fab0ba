#!/usr/bin/env python3
"""Fails when a folder includes one it does not build on, when the folders' graph has a circle, or when OpenGL,
GLFW or OpenAL headers appear outside the folders allowed them.

usage: check_layers.py ROOT --gl FOLDERS --glfw FOLDERS --al FOLDERS FOLDER:USED,USED ...   (the graph CMakeLists.txt builds)"""

import argparse
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def closure(uses):
    """Every folder reachable from each folder; a folder reaching itself is a circle."""
    reach = {}

    def visit(folder, path):
        if folder in path:
            sys.exit(f"layers: circle {' -> '.join(path[path.index(folder):] + [folder])}")
        if folder not in reach:
            found = set()
            for used in uses.get(folder, ()):
                found |= {used} | visit(used, path + [folder])
            reach[folder] = found
        return reach[folder]

    for folder in uses:
        visit(folder, [])
    return reach


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root", type=pathlib.Path)
    parser.add_argument("--gl", required=True)
    parser.add_argument("--glfw", required=True)
    parser.add_argument("--al", required=True)
    parser.add_argument("layers", nargs="+")
    args = parser.parse_args()
    uses = {}
    for layer in args.layers:
        folder, _, used = layer.partition(":")
        uses[folder] = [name for name in used.split(",") if name]
    reach = closure(uses)
    allowed_system = {"GL/": set(args.gl.split(",")), "GLFW/": set(args.glfw.split(",")),
                      "AL/": set(args.al.split(","))}
    problems = []
    for folder in uses:
        for source in sorted((args.root / folder).rglob("*")):
            if source.suffix not in (".h", ".cpp"):
                continue
            for kind, header in INCLUDE.findall(source.read_text(errors="replace")):
                top = header.split("/")[0]
                where = source.relative_to(args.root)
                if kind == '"' and "/" in header and top in uses and top != folder and top not in reach[folder]:
                    problems.append(f"{where}: includes {header}, but {folder}/ does not build on {top}/")
                for prefix, folders in allowed_system.items():
                    if kind == "<" and header.startswith(prefix) and folder not in folders:
                        problems.append(f"{where}: includes <{header}>, allowed only in {', '.join(sorted(folders))}")
    for problem in problems:
        print(problem)
    print(f"layers: {len(uses)} folders, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
