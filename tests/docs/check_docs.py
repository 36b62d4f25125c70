#!/usr/bin/env python3
"""Checks what a newcomer reads first against what the tree does.

  check_docs.py ROOT setup   the README's set-up commands are exactly the
                             first commands .ci/run runs, in the same order
                             (the first of them without a display)
  check_docs.py ROOT links   the README is at most 300 lines, links every
                             file of docs/, and every relative link (or
                             picture) of the README and of docs/*.md names an
                             existing file, and its heading where it names one

Exit code 0 when it holds, 1 with one line per fault otherwise.
"""
import pathlib
import re
import sys

README_MAX_LINES = 300
COMMAND = re.compile(r"\bbash scripts/[A-Za-z0-9_.-]+")
LINK = re.compile(r"\]\(([^)\s]+)\)|\bsrc=\"([^\"]+)\"")


def readme_setup_commands(readme):
    """The commands of the README's set-up section (code lines), in order."""
    commands, in_setup = [], False
    for line in readme.splitlines():
        if line.startswith("## "):
            in_setup = line.lower().startswith("## set-up")
            continue
        if in_setup and line.startswith("    ") and line.strip():
            commands.append(line.strip())
    return commands


def ci_commands(ci):
    """The scripts .ci/run runs, with the line of each, comments left out."""
    found = []
    for line in ci.splitlines():
        code = line.split("#", 1)[0]
        for m in COMMAND.finditer(code):
            found.append((m.group(0), code))
    return found


def check_setup(root):
    faults = []
    readme = (root / "README.md").read_text(encoding="utf-8")
    ci = (root / ".ci" / "run").read_text(encoding="utf-8")
    ours = readme_setup_commands(readme)
    theirs = ci_commands(ci)
    if len(ours) != 2:
        faults.append(f"README set-up section has {len(ours)} commands, want 2: {ours}")
    if [c for c, _ in theirs[:len(ours)]] != ours:
        faults.append(f"README set-up commands {ours} are not the first commands "
                      f"of .ci/run {[c for c, _ in theirs]}")
    elif ours and not all(re.search(r"(^|\s)-u\s+" + name + r"\b", theirs[0][1])
                          for name in ("DISPLAY", "WAYLAND_DISPLAY")):
        faults.append(f".ci/run does not run '{ours[0]}' without a display: {theirs[0][1].strip()}")
    return faults


def relative_links(text):
    """(file, anchor) of every link to a file of the tree; anchor may be ''."""
    for groups in LINK.findall(text):
        target = groups[0] or groups[1]
        if re.match(r"^[a-z]+:", target):
            continue
        path, _, anchor = target.partition("#")
        yield path, anchor


def anchors(markdown):
    """The anchors of a page's headings, as GitHub makes them."""
    found = set()
    for line in markdown.splitlines():
        m = re.match(r"^#{1,6}\s+(.*?)\s*$", line)
        if m:
            slug = re.sub(r"[^\w\- ]", "", m.group(1).lower()).replace(" ", "-")
            found.add(slug)
    return found


def check_links(root):
    faults = []
    readme_path = root / "README.md"
    readme = readme_path.read_text(encoding="utf-8")
    lines = readme.count("\n") + (0 if readme.endswith("\n") else 1)
    if lines > README_MAX_LINES:
        faults.append(f"README.md has {lines} lines, at most {README_MAX_LINES}")
    docs = root / "docs"
    linked = {(readme_path.parent / t).resolve() for t, _ in relative_links(readme) if t}
    for doc in sorted(docs.glob("*.md")):
        if doc.resolve() not in linked:
            faults.append(f"README.md does not link docs/{doc.name}")
    for page in [readme_path] + sorted(docs.glob("*.md")):
        for target, anchor in relative_links(page.read_text(encoding="utf-8")):
            path = page.parent / target if target else page
            if not path.exists():
                faults.append(f"{page.relative_to(root)}: link to a missing file: {target}")
            elif anchor and path.suffix == ".md" and \
                    anchor not in anchors(path.read_text(encoding="utf-8")):
                faults.append(f"{page.relative_to(root)}: link to a missing heading: "
                              f"{target}#{anchor}")
    return faults


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in ("setup", "links"):
        print(__doc__, file=sys.stderr)
        return 2
    root = pathlib.Path(sys.argv[1])
    faults = check_setup(root) if sys.argv[2] == "setup" else check_links(root)
    for f in faults:
        print(f)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
