#!/usr/bin/env python3
"""Mutation testing by hand: how many realistic single faults do the tests catch?

Reads a list of mutants (tools/mutants.txt), and for each one: replaces one
exact snippet of one source file, rebuilds incrementally, runs ctest, and
puts the file back byte for byte (always: also after an error, Ctrl-C or
SIGTERM); at the end the programs are built again from the restored files.  A mutant is killed when a test fails or times out; a mutant that
does not compile is counted apart ("build") and not as killed.  Mutants
marked equivalent are neither applied nor counted.  Prints the kill rate per
folder and overall.

  python3 tools/mutate.py [--build DIR] [--list FILE] [--only N[,N...]]
                          [--full] [--jobs 2] [--timeout 300]

Each mutant runs the tests of the programs its entry (or its folder's
default) names, `ctest -L '^(prog|...)$'`, each test program's tests being
labelled with its name; --full runs the whole suite for every mutant
instead (slower; a survivor of a subset run should be confirmed with it).

List format (blank lines and lines starting with '#' between entries are
ignored):

  @@ <path from the source root> | <short description>
  tests: <test program> ...          (optional; default: the folder's)
  equivalent: <reason>               (optional; not counted)
  - <original line>                  (one or more; must occur exactly once)
  + <replacement line>               (zero or more)

The folder of a mutant is its path's first component (app, astro, ...).
"""
import argparse
import os
import re
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The test programs that cover each folder's code (gtest executables).
FOLDER_TESTS = {
    "ephem": ["orbitcore_internal_tests", "orbitcore_exports_tests", "test_moon_series",
              "test_moon_lunaris", "test_moon_export"],
    "lunaris": ["lunaris_elp82b_test", "lunaris_abi_test", "test_moon_lunaris"],
    "astro": ["test_astro_basics", "test_astro_eclipse", "test_core_series", "test_cli_args"],
    "app": ["test_core_text", "test_core_table", "test_core_series", "test_core_cli",
            "test_cli_args", "test_settings_file", "test_one_instance"],
    "dialogs": ["test_date_form", "test_german_ui"],
    "graphics": ["graphics_layer_test", "graphics_diagram_test", "graphics_file_test",
                 "graphics_window_test", "graphics_cli_test", "print_layout_test",
                 "print_dialog_test"],
}
FOLDERS = list(FOLDER_TESTS)


class Mutant:
    def __init__(self, number, path, what):
        self.number, self.path, self.what = number, path, what
        self.folder = path.split("/", 1)[0]
        self.tests = None
        self.equivalent = None
        self.old, self.new = [], []

    def original(self):
        return "\n".join(self.old)

    def replacement(self):
        return "\n".join(self.new)


def read_list(path):
    mutants, m = [], None
    with open(path, encoding="utf-8") as f:
        for lineno, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if line.startswith("@@ "):
                body = line[3:]
                file_part, _, what = body.partition("|")
                m = Mutant(len(mutants) + 1, file_part.strip(), what.strip())
                mutants.append(m)
            elif m is None or not line.strip() or line.startswith("#"):
                continue
            elif line.startswith("tests:"):
                m.tests = line[len("tests:"):].split()
            elif line.startswith("equivalent:"):
                m.equivalent = line[len("equivalent:"):].strip()
            elif line.startswith("- "):
                m.old.append(line[2:])
            elif line.startswith("+ ") or line == "+":
                m.new.append(line[2:])
            else:
                sys.exit(f"{path}:{lineno}: cannot read: {line!r}")
    for m in mutants:
        if m.folder not in FOLDER_TESTS:
            sys.exit(f"mutant {m.number}: unknown folder {m.folder}")
        if not m.old:
            sys.exit(f"mutant {m.number}: no original lines")
    return mutants


def check_snippets(mutants):
    """Every original snippet occurs exactly once in its file."""
    bad = False
    for m in mutants:
        with open(os.path.join(ROOT, m.path), encoding="utf-8") as f:
            n = f.read().count(m.original())
        if n != 1:
            print(f"mutant {m.number} ({m.path}): original found {n} times", file=sys.stderr)
            bad = True
    if bad:
        sys.exit(2)


def known_targets(build_dir):
    """The targets of the build (Makefile generator: '... name' lines)."""
    p = subprocess.run(["cmake", "--build", build_dir, "--target", "help"], cwd=ROOT,
                       capture_output=True, text=True)
    return {line[4:].split()[0] for line in p.stdout.splitlines() if line.startswith("... ")}


class Interrupted(Exception):
    pass


def on_signal(signum, frame):
    raise Interrupted(f"signal {signum}")


def run(cmd, timeout, log):
    """Return code of cmd, or "timeout". The command runs in a session of its
    own, so that on a time-out or an interruption the whole of it (ctest and
    the test programs it started) is stopped."""
    log.write("$ " + " ".join(cmd) + "\n")
    log.flush()
    p = subprocess.Popen(cmd, cwd=ROOT, stdout=log, stderr=subprocess.STDOUT, start_new_session=True,
                         env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    try:
        return p.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        log.write("(timed out)\n")
        return "timeout"
    finally:
        if p.poll() is None:
            try:
                os.killpg(p.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            p.wait()


def try_mutant(m, args, log):
    """'killed', 'survived' or 'build'; the file is back as it was on return."""
    path = os.path.join(ROOT, m.path)
    with open(path, "rb") as f:
        saved = f.read()
    text = saved.decode("utf-8")
    try:
        with open(path, "wb") as f:
            f.write(text.replace(m.original(), m.replacement(), 1).encode("utf-8"))
        programs = m.tests or FOLDER_TESTS[m.folder]
        build = ["cmake", "--build", args.build, "-j", str(args.jobs)]
        if not args.full:
            build += ["--target"] + programs
        if run(build, args.timeout * 4, log) != 0:
            return "build"
        ctest = ["ctest", "--test-dir", args.build, "--timeout", str(args.timeout),
                 "-j", str(args.jobs)]
        if not args.full:
            ctest += ["-L", "^(" + "|".join(re.escape(p) for p in programs) + ")$"]
        rc = run(ctest, args.timeout * 10, log)
        return "survived" if rc == 0 else "killed"
    finally:
        with open(path, "wb") as f:
            f.write(saved)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--list", default=os.path.join(ROOT, "tools", "mutants.txt"))
    ap.add_argument("--only", help="comma-separated mutant numbers")
    ap.add_argument("--full", action="store_true", help="whole build and whole suite per mutant")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--timeout", type=int, default=300, help="seconds per test")
    ap.add_argument("--log", default=os.path.join(ROOT, "build", "mutate.log"))
    args = ap.parse_args()

    mutants = read_list(args.list)
    check_snippets(mutants)
    if args.only:
        wanted = {int(n) for n in args.only.split(",")}
        mutants = [m for m in mutants if m.number in wanted]
    # Test programs this build does not have (an older tree) are left out.
    targets = known_targets(args.build)
    for folder, programs in FOLDER_TESTS.items():
        missing = [p for p in programs if p not in targets]
        if missing:
            print(f"not in this build, left out: {' '.join(missing)}", file=sys.stderr)
        FOLDER_TESTS[folder] = [p for p in programs if p in targets]
    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGINT, on_signal)

    # The unmutated tree must build and pass the same tests first.
    results = {}
    start = time.time()
    programs = sorted({p for m in mutants for p in (m.tests or FOLDER_TESTS[m.folder])})
    build = ["cmake", "--build", args.build, "-j", str(args.jobs)]
    ctest = ["ctest", "--test-dir", args.build, "--timeout", str(args.timeout), "-j", str(args.jobs)]
    if not args.full:
        build += ["--target"] + programs
        ctest += ["-L", "^(" + "|".join(re.escape(p) for p in programs) + ")$"]
    with open(args.log, "w", encoding="utf-8") as log:
        try:
            if run(build, args.timeout * 4, log) != 0 or run(ctest, args.timeout * 10, log) != 0:
                sys.exit(f"the unmutated tree fails to build or to pass its tests (see {args.log})")
            for m in mutants:
                t0 = time.time()
                results[m.number] = "equivalent" if m.equivalent else try_mutant(m, args, log)
                note = f" -- {m.equivalent}" if m.equivalent else f"  ({time.time() - t0:.0f} s)"
                print(f"{m.number:3d} {results[m.number]:10s} {m.folder:9s} {m.path}: {m.what}{note}",
                      flush=True)
        except Interrupted as e:
            print(f"stopped ({e}); every file is back as it was", file=sys.stderr)
            sys.exit(130)
        finally:
            # The programs were last linked with a mutant: build them again
            # from the restored sources.
            signal.signal(signal.SIGINT, signal.SIG_DFL)
            run(build, args.timeout * 4, log)

    print()
    print(f"{'folder':9s} {'killed':>6s} {'of':>3s} {'rate':>6s}  survived / build failures / equivalent")
    total_killed = total = 0
    for folder in FOLDERS:
        ms = [m for m in mutants if m.folder == folder]
        if not ms:
            continue
        counted = [m for m in ms if results[m.number] in ("killed", "survived")]
        killed = sum(results[m.number] == "killed" for m in counted)
        survived = [str(m.number) for m in counted if results[m.number] == "survived"]
        builds = [str(m.number) for m in ms if results[m.number] == "build"]
        equiv = [str(m.number) for m in ms if results[m.number] == "equivalent"]
        total_killed += killed
        total += len(counted)
        rate = 100.0 * killed / len(counted) if counted else 0.0
        print(f"{folder:9s} {killed:6d} {len(counted):3d} {rate:5.1f}%  "
              f"{','.join(survived) or '-'} / {','.join(builds) or '-'} / {','.join(equiv) or '-'}")
    rate = 100.0 * total_killed / total if total else 0.0
    print(f"{'overall':9s} {total_killed:6d} {total:3d} {rate:5.1f}%  "
          f"({len(mutants)} mutants, {time.time() - start:.0f} s)")


if __name__ == "__main__":
    main()
