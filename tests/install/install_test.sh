#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses it as a user would,
# with no LD_LIBRARY_PATH and the build tree out of reach:
#   - every installed program and module finds its libraries (ldd), the
#     libraries carry their SONAME;
#   - nodalis-cli --saros 145 gives the build's output byte for byte and
#     writes a diagram through the installed module;
#   - nodalis (offscreen) starts with a Julian date and shows its series;
#   - a C program builds against the installed orbitcore with
#     pkg-config --cflags --libs orbitcore and runs;
#   - the desktop entry passes desktop-file-validate, and the manual page of
#     nodalis-cli names every option of its --help.
# Usage: install_test.sh CMAKE BUILD_DIR BUILD_CLI BINDIR LIBDIR DATADIR
#                        MANDIR CC "CFLAGS" C_SOURCE
# (the folders relative to the prefix, as GNUInstallDirs gives them).
set -euo pipefail
cmake=$1 build=$2 build_cli=$3 bindir=$4 libdir=$5 datadir=$6 mandir=$7
cc=$8 cflags=$9 csource=${10}

# One Julian date (TDT) for the programs: 2000 Feb 25, Saros 117.
readonly JD=2451600.0 JD_SAROS=117
readonly NODALIS_WAIT_S=60   # generous for a loaded machine

for tool in pkg-config ldd "$cc"; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not found"; exit 77; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/nodalis-install.XXXXXX")
nodalis_pid=
cleanup() {
  if [ -n "$nodalis_pid" ]; then
    kill "$nodalis_pid" 2>/dev/null || true
    wait "$nodalis_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" ||
  { cat "$work/install.log"; fail "cmake --install"; }
unset LD_LIBRARY_PATH
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
cd "$work"

# Libraries: found inside the prefix, each under its SONAME.
cli=$prefix/$bindir/nodalis-cli
gui=$prefix/$bindir/nodalis
module=$prefix/$libdir/nodalis/libnodalis-diagram.so
for lib in orbitcore lunaris; do
  soname=$(readelf -d "$prefix/$libdir/lib$lib.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [ "$soname" = "lib$lib.so.1" ] || fail "lib$lib.so: SONAME want lib$lib.so.1, got '$soname'"
  [ -f "$prefix/$libdir/$soname" ] || fail "$soname is not installed"
done
for bin in "$cli" "$gui" "$module"; do
  [ -e "$bin" ] || continue   # nodalis and the module only with Qt
  out=$(ldd "$bin")
  if grep -q 'not found' <<<"$out"; then fail "$bin: $(grep 'not found' <<<"$out")"; fi
  for lib in orbitcore lunaris; do
    got=$(awk -v l="lib$lib.so.1" '$1 == l {print $3}' <<<"$out")
    [ -z "$got" ] || [ "$(realpath "$got")" = "$(realpath "$prefix/$libdir/lib$lib.so.1")" ] ||
      fail "$bin takes lib$lib.so.1 from $got, not from the prefix"
  done
done

# nodalis-cli: the same output as the build's, and a diagram.
"$cli" --jd "$JD" --saros 145 --format csv >installed.csv || fail "installed nodalis-cli: exit $?"
"$build_cli" --jd "$JD" --saros 145 --format csv >built.csv
cmp -s installed.csv built.csv || fail "installed and built nodalis-cli differ for --saros 145"
[ "$(grep -c ',145,' installed.csv)" -ge 60 ] || fail "Saros 145 has too few members:
$(cat installed.csv)"
if [ -e "$module" ]; then
  "$cli" --jd "$JD" --saros 145 --format csv --diagram s145.png >/dev/null ||
    fail "nodalis-cli --diagram from the prefix: exit $?"
  [ "$(head -c 8 s145.png | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    fail "s145.png is not a PNG file"
fi

# nodalis: started with a Julian date, it shows that date's series.
if [ -e "$gui" ]; then
  # TMPDIR: its single-instance socket goes with the work folder.
  NODALIS_TRACE=1 NODALIS_INSTANCE_TAG="nodalis-install-test-$$" TMPDIR=$work \
    "$gui" "$JD" 2>nodalis.err >/dev/null &
  nodalis_pid=$!
  want="nodalis-trace: command saros=$JD_SAROS reference=2451600.000000"
  for ((i = 0; i < NODALIS_WAIT_S * 10; ++i)); do
    grep -q "$want" nodalis.err && break
    kill -0 "$nodalis_pid" 2>/dev/null || fail "nodalis ended early:
$(cat nodalis.err)"
    sleep 0.1
  done
  grep -q "$want" nodalis.err || fail "nodalis did not show Saros $JD_SAROS within ${NODALIS_WAIT_S} s:
$(cat nodalis.err)"
  kill "$nodalis_pid"
  wait "$nodalis_pid" 2>/dev/null || true
  nodalis_pid=
fi

# A program of someone else's against the installed orbitcore.
export PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig
flags=$(pkg-config --cflags --libs orbitcore) || fail "pkg-config orbitcore"
pkg-config --exists lunaris || fail "pkg-config lunaris"
# The prefix is no folder the system searches: the program records it.
rpath=-Wl,-rpath,$(pkg-config --variable=libdir orbitcore)
# shellcheck disable=SC2086  # the flags are words
"$cc" $cflags -o sun "$csource" $flags "$rpath" -lm || fail "building against orbitcore with: $flags"
./sun >sun.out || fail "the orbitcore program: $(cat sun.out)"

# Desktop entry and manual page.
desktop=$prefix/$datadir/applications/nodalis.desktop
if [ -e "$desktop" ] && command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
fi
[ -e "$prefix/$datadir/icons/hicolor/scalable/apps/nodalis.svg" ] || [ ! -e "$desktop" ] ||
  fail "the desktop entry's icon is not installed"
page=$(zcat "$prefix/$mandir/man1/nodalis-cli.1.gz") || fail "no manual page of nodalis-cli"
for option in $("$cli" --help | grep -o -- '--[a-z-]*' | sort -u) --help; do
  grep -qF -- "${option//-/\\-}" <<<"$page" || fail "the manual page lacks $option"
done

echo "installed into $prefix: $(cd "$prefix" && find . -type f | wc -l) files; orbitcore: $flags; Sun $(cat sun.out) deg"
