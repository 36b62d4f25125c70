#!/usr/bin/env python3
"""Checks what a newcomer reads first against what the tree does.

  check_docs.py ROOT setup   the README's set-up commands are exactly the
                             first commands .ci/run runs, in the same order
                             (the first of them without a display)
  check_docs.py ROOT links   the README is at most 300 lines, links every
                             file of docs/, and every relative link (or
                             picture) of the README and of docs/*.md names an
                             existing file, and its heading where it names one;
                             docs/departures.md has one line per departure
  check_docs.py ROOT options CLI
                             the options that `CLI --help` lists are the
                             options of the manual page app/share/nodalis-cli.1,
                             in the same order, and every command of the
                             README and docs/ uses only those options

Exit code 0 when it holds, 1 with one line per fault otherwise.
"""
import pathlib
import re
import subprocess
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
    faults += check_departures(root / "docs" / "departures.md")
    return faults


def check_departures(path):
    """docs/departures.md: after its heading and first paragraph, one line
    per departure ("- ..."), none twice."""
    faults, seen = [], set()
    text = path.read_text(encoding="utf-8")
    body = text.split("\n\n", 2)[2] if text.count("\n\n") >= 2 else ""
    for number, line in enumerate(body.splitlines(), 1):
        if not line.strip():
            continue
        if not line.startswith("- "):
            faults.append(f"docs/departures.md: not one line per departure: {line[:60]}")
        elif line in seen:
            faults.append(f"docs/departures.md: written twice: {line[:60]}")
        seen.add(line)
    if len(seen) < 10:
        faults.append(f"docs/departures.md holds only {len(seen)} departures")
    return faults


def help_options(cli):
    """The options of `cli --help`, in its order (lines "  --name ...")."""
    run = subprocess.run([cli, "--help"], capture_output=True, timeout=60)
    if run.returncode != 0:
        return None
    text = run.stdout.decode("utf-8")
    return [m.group(1) for m in re.finditer(r"^  (--[a-z][a-z-]*)", text, re.M)]


def manual_options(page):
    """The options of the manual page's OPTIONS section, in its order: the
    first option name on the line after each .TP."""
    section = page.split("\n.SH OPTIONS\n", 1)[1].split("\n.SH ", 1)[0]
    found = []
    for block in section.split(".TP\n")[1:]:
        m = re.search(r"\\-\\-([a-z][a-z\\-]*)", block.split("\n", 1)[0])
        if m:
            found.append("--" + m.group(1).replace("\\-", "-"))
    return found


def check_options(root, cli):
    ours = help_options(cli)
    if ours is None:
        return [f"{cli} --help failed"]
    if len(ours) < 10:
        return [f"{cli} --help lists only {ours}"]
    faults = []
    manual = manual_options((root / "app/share/nodalis-cli.1").read_text(encoding="utf-8"))
    if manual != ours:
        faults.append(f"--help lists {ours},\n  the manual page's OPTIONS {manual}")
    # Every option of a nodalis-cli command shown (an indented code line of
    # the README or of docs/) is one the tool has.
    for page in [root / "README.md"] + sorted((root / "docs").glob("*.md")):
        for line in page.read_text(encoding="utf-8").splitlines():
            m = re.match(r"^    (?:\S*/)?nodalis-cli(\s.*)?$", line)
            if not m:
                continue
            command = (m.group(1) or "").split("#", 1)[0].split("|", 1)[0].split("&&", 1)[0]
            for name in re.findall(r"(?<![\w-])--[a-z][a-z-]*", command):
                if name not in ours:
                    faults.append(f"{page.relative_to(root)}: nodalis-cli has no {name}: "
                                  f"{line.strip()}")
    return faults


def main():
    modes = {"setup": 3, "links": 3, "options": 4}
    if len(sys.argv) < 3 or modes.get(sys.argv[2]) != len(sys.argv):
        print(__doc__, file=sys.stderr)
        return 2
    root = pathlib.Path(sys.argv[1])
    if sys.argv[2] == "setup":
        faults = check_setup(root)
    elif sys.argv[2] == "links":
        faults = check_links(root)
    else:
        faults = check_options(root, sys.argv[3])
    for f in faults:
        print(f)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
