#!/usr/bin/env python3
"""The README's preview commands are the ones that make its pictures.

check_readme_commands.py README.md docs/make_pictures.sh

Every table row of the README that shows a picture from docs/pictures/ must
give flags in backticks, and those flags must appear, as typed, in the
line of docs/make_pictures.sh that makes that picture; every picture the
script makes is shown. A command that runs the tool names it by the path
the build puts it at, since it is not installed."""
import re
import shlex
import sys


def contains(words, part):
    """True when part is a run of consecutive words of words."""
    return any(words[i:i + len(part)] == part for i in range(len(words) - len(part) + 1))


def main(readme_path, script_path):
    readme = open(readme_path, encoding="utf-8").read()
    script = open(script_path, encoding="utf-8").read()
    made = {}
    for line in script.splitlines():
        if line.startswith("picture "):
            words = shlex.split(line, comments=True)
            made[words[1]] = words[2:]
    errors = []
    shown = set()
    for number, line in enumerate(readme.splitlines(), 1):
        for name in re.findall(r"docs/pictures/([\w-]+)\.png", line):
            shown.add(name)
            if not line.startswith("|"):
                continue
            if name not in made:
                errors.append(f"README.md:{number}: {name}.png is not made by {script_path}")
                continue
            spans = [s for s in re.findall(r"`([^`]*)`", line) if s.startswith("--")]
            if not spans:
                errors.append(f"README.md:{number}: the row of {name}.png gives no flags")
            if spans and not contains(made[name], shlex.split(spans[0])):
                errors.append(f"README.md:{number}: `{spans[0]}` is not what makes {name}.png: "
                              + shlex.join(made[name]))
        for command in re.findall(r"`([^`]*)`", line):
            if command.startswith("quillarray-preview "):
                errors.append(f"README.md:{number}: `{command}`: the tool is not on PATH; give its path")
    for name in sorted(set(made) - shown):
        errors.append(f"{script_path}: {name}.png is made but not shown in the README")
    for error in errors:
        print(error)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
