#!/usr/bin/env python3
"""Fails when the stand-in host (minihost/) or a tool beside it (tools/)
includes the effect's code: anything under host/, params/, geometry/ or
render/. The host is the tests' oracle and must know the effect only
through sdk/ and what the plug-in declares at run time.

    check_includes.py SOURCE_DIR
"""
import os
import re
import sys

CHECKED = ('minihost', 'tools')
EFFECT = ('host', 'params', 'geometry', 'render')
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"](?:\./)?(' + '|'.join(EFFECT) + r')/([^>"]+)[>"]')
SUFFIXES = ('.h', '.hpp', '.c', '.cc', '.cpp', '.inc', '.mm')


def main():
    if len(sys.argv) != 2 or not os.path.isdir(sys.argv[1]):
        print('usage: check_includes.py SOURCE_DIR', file=sys.stderr)
        return 2
    root = sys.argv[1]
    found = []
    for top in CHECKED:
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                if not name.endswith(SUFFIXES):
                    continue
                path = os.path.join(folder, name)
                with open(path, encoding='utf-8', errors='replace') as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if m:
                            found.append(f'{os.path.relpath(path, root)}:{number}: includes {m.group(1)}/{m.group(2)}')
    for line in sorted(found):
        print(line)
    if found:
        print(f'{len(found)} include(s) of the effect\'s code from the stand-in host or its tools', file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
