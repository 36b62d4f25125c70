"""Where a generated file comes from, for the header of the file.

Every table or fixture that a tool in tools/ writes names the files it was
made from by their paths from the repository root (the data sets lie beside
the repository, e.g. ../shared/data/vsop87/VSOP87D.ear, never an absolute
path) with each file's SHA-256, and the command that writes it again from
the repository root.  tools/check_generated.py reruns those commands.

Python 3 standard library only.
"""
import hashlib
import os
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))


def from_root(path):
    """path as seen from the repository root, with forward slashes."""
    return os.path.relpath(os.path.abspath(path), ROOT).replace(os.sep, "/")


def sha256(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


def input_and_output(usage, default_output):
    """(input, output) of a generator's command line INPUT [OUTPUT]: output
    defaults to default_output, a path from the repository root.  Without
    an input, prints usage and ends with exit status 2."""
    if len(sys.argv) < 2:
        print(usage)
        sys.exit(2)
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, default_output)
    return sys.argv[1], out


def write_lines(path, lines):
    """The lines, ASCII, each ended by a line feed, into path."""
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def header(comment, command, inputs):
    """Comment lines (without line ends) naming the regeneration command and
    every input with its SHA-256.  comment: the line comment ("//", "#");
    command: the words after "python3", paths from the root; inputs: the
    files read, in the order read."""
    lines = [comment + " Regenerate from the repository root with:",
             comment + "   python3 " + command,
             comment + " Inputs (paths from the repository root) and their SHA-256:"]
    for path in inputs:
        lines.append("%s   %s  %s" % (comment, sha256(path), from_root(path)))
    return lines
