#!/usr/bin/env python3
"""Regenerate every committed generated file and compare it byte for byte.

A generated file is one whose header names the command that writes it
(tools/provenance.py): a line "Regenerate from the repository root with:",
then the command, then its inputs with their SHA-256.  For each command
this tool checks that the inputs still have the recorded SHA-256, runs the
command from the repository root with every committed output it names
redirected into a temporary folder, and compares each output with the
committed file.

Exit status: 0 all identical; 1 a difference, a changed input or a failed
command (each printed); 77 when the data sets beside the repository
(../shared/data) are absent, so that ctest counts the test as skipped.

Usage:  python3 tools/check_generated.py [--keep DIR]
  --keep DIR  write the regenerated files into DIR and leave them there

Python 3 standard library only.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

import provenance

# Folders holding generated files (the tables and the test fixtures).
FOLDERS = ("ephem/generated", "lunaris/generated", "graphics/map/generated", "tests")
MARK = "Regenerate from the repository root with:"
HEADER_LINES = 60        # the header is read from the first lines only
SKIP = 77


def headers():
    """{command: [(committed file, [(sha256, input path)])]} of every
    generated file below FOLDERS, paths from the root."""
    found = {}
    for folder in FOLDERS:
        for top, dirs, files in os.walk(os.path.join(provenance.ROOT, folder)):
            dirs.sort()
            for name in sorted(files):
                path = os.path.join(top, name)
                parsed = read_header(path)
                if parsed:
                    command, inputs = parsed
                    found.setdefault(command, []).append((provenance.from_root(path), inputs))
    return found


def read_header(path):
    try:
        with open(path, encoding="utf-8") as f:
            lines = [next(f, "") for _ in range(HEADER_LINES)]
    except (UnicodeDecodeError, OSError):
        return None
    text = [ln.rstrip("\n") for ln in lines]
    for i, line in enumerate(text):
        if line.endswith(MARK):
            comment = line[:len(line) - len(MARK)].rstrip()
            command = text[i + 1][len(comment):].strip()
            inputs = []
            for ln in text[i + 3:]:
                words = ln[len(comment):].split() if ln.startswith(comment + "   ") else []
                if len(words) != 2:
                    break
                inputs.append((words[0], words[1]))
            return command, inputs
    return None


def check_command(command, outputs, work, report):
    """Runs one command with its outputs redirected; True when every output
    is identical to the committed file."""
    ok = True
    for committed, inputs in outputs:
        for digest, path in inputs:
            full = os.path.join(provenance.ROOT, path)
            if os.path.isabs(path):
                report(f"{committed}: input named by an absolute path: {path}")
                ok = False
            elif not os.path.isfile(full):
                report(f"{committed}: input {path} is missing")
                ok = False
            elif provenance.sha256(full) != digest:
                report(f"{committed}: input {path} has changed "
                       f"(want SHA-256 {digest}, got {provenance.sha256(full)})")
                ok = False
    if not ok:
        return False
    words = command.split()
    if words[0] != "python3":
        report(f"{outputs[0][0]}: not a python3 command: {command}")
        return False
    # Each committed output is named by the command itself or by its folder.
    redirect = {}
    targets = {}
    for committed, _ in outputs:
        folder, name = os.path.split(committed)
        if committed in words:
            redirect[committed] = os.path.join(work, committed.replace("/", "__"))
            targets[committed] = redirect[committed]
        elif folder in words:
            redirect[folder] = os.path.join(work, folder.replace("/", "__"))
            os.makedirs(redirect[folder], exist_ok=True)
            targets[committed] = os.path.join(redirect[folder], name)
        else:
            report(f"{committed}: the command names neither it nor its folder: {command}")
            return False
    argv = [sys.executable] + [redirect.get(w, w) for w in words[1:]]
    run = subprocess.run(argv, cwd=provenance.ROOT, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, text=True, check=False)
    if run.returncode != 0:
        report(f"{command}\n  failed with exit code {run.returncode}:\n{run.stdout}")
        return False
    for committed, target in targets.items():
        with open(os.path.join(provenance.ROOT, committed), "rb") as f:
            want = f.read()
        with open(target, "rb") as f:
            got = f.read()
        if want == got:
            print(f"identical: {committed}")
            continue
        ok = False
        want_lines, got_lines = want.split(b"\n"), got.split(b"\n")
        first = next((i for i, (a, b) in enumerate(zip(want_lines, got_lines)) if a != b),
                     min(len(want_lines), len(got_lines)))
        report(f"{committed}: regenerated file differs from line {first + 1} "
               f"({len(want_lines)} lines committed, {len(got_lines)} regenerated)\n"
               f"  want: {want_lines[first][:200] if first < len(want_lines) else b'(end)'}\n"
               f"  got:  {got_lines[first][:200] if first < len(got_lines) else b'(end)'}")
    return ok


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--keep", help="folder for the regenerated files")
    a = ap.parse_args()
    data = os.path.join(provenance.ROOT, "..", "shared", "data")
    if not os.path.isdir(data):
        print(f"skipped: the data sets are not beside the repository ({os.path.normpath(data)})")
        return SKIP
    found = headers()
    if not found:
        print("no generated files found")
        return 1
    problems = []
    report = lambda text: problems.append(text)
    if a.keep:
        os.makedirs(a.keep, exist_ok=True)
        work = a.keep
    else:
        work = tempfile.mkdtemp(prefix="nodalis-regenerate-")
    try:
        for command, outputs in sorted(found.items()):
            check_command(command, outputs, work, report)
    finally:
        if not a.keep:
            shutil.rmtree(work, ignore_errors=True)
    n_files = sum(len(v) for v in found.values())
    for text in problems:
        print("FAILED: " + text)
    print(f"{n_files} generated files from {len(found)} commands, "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
