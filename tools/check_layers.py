#!/usr/bin/env python3
"""Checks that every folder of the sources includes only folders below it.

The folders are floors, from the ground up. A file may include headers of its own folder and
of any lower floor; never of a higher floor, nor of another folder on its own floor (folders
that share a floor stay independent of each other). Usage:

    check_layers.py [SOURCE_ROOT]

Prints each wrong include and exits 1 when there is one, else prints a summary and exits 0.
"""
import os
import re
import sys

FLOORS = [
    ["model"],                                           # the design, its files, the writer
    ["config"],                                          # config.ini, program home, values
    ["session"],                                         # shared window state, paths, messages
    ["drawing", "widgets"],                              # GL drawing; small shared widgets
    ["viewer", "render"],                                # the view; the off-screen picture
    ["browser", "print", "colour", "animate", "settings"],  # the subsystems
    ["app", "cli"],                                      # the main window; the tools
]
TOP = len(FLOORS)  # files directly in the root (the two mains) may include anything

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def floor_of(folder):
    for level, folders in enumerate(FLOORS):
        if folder in folders:
            return level
    return None


def check(root):
    problems = []
    files = 0
    for folder in sorted(os.listdir(root)):
        path = os.path.join(root, folder)
        if not os.path.isdir(path):
            continue
        level = floor_of(folder)
        if level is None:
            problems.append(f"{folder}/: a folder that is on no floor (add it to {__file__})")
            continue
        for name in sorted(os.listdir(path)):
            if not name.endswith((".h", ".cpp")):
                continue
            files += 1
            with open(os.path.join(path, name), encoding="utf-8") as f:
                text = f.read()
            for included in INCLUDE.findall(text):
                if "/" not in included:
                    continue  # its own folder
                other = included.split("/", 1)[0]
                if other == folder:
                    continue
                other_level = floor_of(other)
                if other_level is None:
                    continue  # not one of ours
                if other_level >= level:
                    where = "beside it" if other_level == level else "above it"
                    problems.append(f"{folder}/{name}: includes {included}, a folder {where}")
    return files, problems


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src")
    files, problems = check(root)
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} wrong include(s) in {files} files")
        return 1
    print(f"the includes of {files} files keep to their floors")
    return 0


if __name__ == "__main__":
    sys.exit(main())
