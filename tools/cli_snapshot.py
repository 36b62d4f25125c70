#!/usr/bin/env python3
"""Record or compare the output of nodalis-cli for every Saros series.

A guard for changes that must not move a single digit of the table (speed
work, refactoring): record the output of a known-good build once, then
compare a new build against it byte for byte.

For each Saros number N in the range (default 1 .. 180), each lunar mode
(auto, elp2000, de404) and each format (csv, table) it runs

    nodalis-cli --jd JD --reference JD --saros N --lunar MODE --format FMT

with a fixed start and reference date (JD, default 2461383.5 = 2026-12-09 0h),
so that the search start and the table markers do not depend on the clock.
Standard output and the exit code go into one file per run,
saros_NNN_MODE.FMT in OUT_DIR.

Usage:
    python3 tools/cli_snapshot.py record  OUT_DIR [--cli build/bin/nodalis-cli]
    python3 tools/cli_snapshot.py compare OUT_DIR [--cli build/bin/nodalis-cli]
options: --first N --last N (Saros range), --jd JD, --jobs K (parallel runs),
         --appended-columns (compare only)

compare prints every differing file with its differing lines (want/got)
and exits with 1 when any file differs or is missing, else 0.  With
--appended-columns a CSV line also matches when the recorded line is a
prefix of the new one ending at a field boundary (columns added after the
recorded ones; the table files must still be identical).

Standard library only.
"""
import argparse
import concurrent.futures
import os
import subprocess
import sys

MODES = ("auto", "elp2000", "de404")
FORMATS = ("csv", "table")


def run_one(cli, jd, saros, mode, fmt):
    args = [cli, "--jd", jd, "--reference", jd, "--saros", str(saros),
            "--lunar", mode, "--format", fmt]
    p = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                       check=False)
    # The exit code and any message belong to the behaviour too.
    return p.stdout + b"\n#exit %d\n#stderr " % p.returncode + p.stderr


def file_name(saros, mode, fmt):
    return "saros_%03d_%s.%s" % (saros, mode, fmt)


def jobs_of(a):
    return [(s, m, f) for s in range(a.first, a.last + 1) for m in MODES
            for f in FORMATS]


def produce(a):
    cli = os.path.abspath(a.cli)
    with concurrent.futures.ThreadPoolExecutor(max_workers=a.jobs) as ex:
        futures = {job: ex.submit(run_one, cli, a.jd, *job) for job in jobs_of(a)}
        return {job: f.result() for job, f in futures.items()}


def csv_prefix_equal(want, got):
    """True when every line of want is got's line or its first fields."""
    w = want.split(b"\n")
    g = got.split(b"\n")
    return len(w) == len(g) and all(
        a == b or (a and b.startswith(a + b",")) for a, b in zip(w, g))


def line_diff(want, got, limit=20):
    w = want.decode("utf-8", "replace").split("\n")
    g = got.decode("utf-8", "replace").split("\n")
    out = []
    for i in range(max(len(w), len(g))):
        lw = w[i] if i < len(w) else "<none>"
        lg = g[i] if i < len(g) else "<none>"
        if lw != lg:
            out.append("  line %d\n    want: %s\n    got:  %s" % (i + 1, lw, lg))
            if len(out) >= limit:
                out.append("  ...")
                break
    return out


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("action", choices=("record", "compare"))
    ap.add_argument("out_dir")
    ap.add_argument("--cli", default="build/bin/nodalis-cli")
    ap.add_argument("--first", type=int, default=1)
    ap.add_argument("--last", type=int, default=180)
    ap.add_argument("--jd", default="2461383.5")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--appended-columns", action="store_true")
    a = ap.parse_args(argv[1:])

    results = produce(a)
    if a.action == "record":
        os.makedirs(a.out_dir, exist_ok=True)
        for (s, m, f), data in results.items():
            with open(os.path.join(a.out_dir, file_name(s, m, f)), "wb") as fh:
                fh.write(data)
        print("recorded %d files in %s" % (len(results), a.out_dir))
        return 0

    differing = 0
    for (s, m, f), data in sorted(results.items()):
        path = os.path.join(a.out_dir, file_name(s, m, f))
        try:
            with open(path, "rb") as fh:
                want = fh.read()
        except OSError:
            print("%s: missing in the recording" % path)
            differing += 1
            continue
        if want != data and not (a.appended_columns and f == "csv"
                                 and csv_prefix_equal(want, data)):
            differing += 1
            print("%s differs:" % file_name(s, m, f))
            print("\n".join(line_diff(want, data)))
    print("%d of %d outputs identical" % (len(results) - differing, len(results)))
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
