#!/usr/bin/env bash
# What the scripts share: the packages that building and testing Nodalis
# needs on Debian 12 (installed when missing), the configuration of each
# build folder with every option set explicitly, whatever its cache holds,
# and the run of the test suite. Sourced by scripts/run.sh, scripts/test.sh
# and scripts/sanitize.sh.
nodalis_install_deps() {
  local pkgs=(build-essential cmake python3 libgtest-dev libbenchmark-dev
              qt6-base-dev qt6-base-dev-tools qt6-svg-dev liberfa-dev
              fonts-dejavu-core xvfb xauth xdotool openbox x11-utils poppler-utils clang
              qt6-translations-l10n pkg-config desktop-file-utils)
  local missing=()
  local p
  for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# The options of the two build folders. build/ (scripts/run.sh and
# scripts/test.sh share it, so either may run first and neither undoes the
# other's build): Release, tests and benchmarks, warnings as errors.
# build-sanitize/ (scripts/sanitize.sh): the same with the sanitizers and
# without the benchmarks.
NODALIS_MAIN_OPTIONS=(-DCMAKE_BUILD_TYPE=Release -DNODALIS_TESTS=ON -DNODALIS_BENCH=ON
                      -DNODALIS_WERROR=ON -DNODALIS_SANITIZE=OFF -DNODALIS_FUZZ=OFF)
NODALIS_SANITIZE_OPTIONS=(-DCMAKE_BUILD_TYPE=Release -DNODALIS_TESTS=ON -DNODALIS_BENCH=OFF
                          -DNODALIS_WERROR=ON -DNODALIS_SANITIZE=ON -DNODALIS_FUZZ=OFF)

# nodalis_setup DIR OPTIONS_ARRAY_NAME [TARGET...]: the missing packages,
# the configuration of DIR with the named options, then the build of the
# targets given (all without one).
nodalis_setup() {
  local dir="$1"
  local -n opts="$2"
  shift 2
  nodalis_install_deps
  cmake -S "$NODALIS_ROOT" -B "$dir" "${opts[@]}" >/dev/null
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
}

# The suite has at least this many tests; fewer means that part of it was
# not configured (raise it when the suite grows).
NODALIS_MIN_TESTS=300

# nodalis_ctest DIR TIMEOUT: every test of DIR; fails when a test fails,
# when no test runs, or when fewer than NODALIS_MIN_TESTS ran.
nodalis_ctest() {
  local dir="$1" timeout="$2"
  local log
  log="$(mktemp)"
  local rc=0
  (cd "$dir" && ctest --output-on-failure --no-tests=error -j"$(nproc)" --timeout "$timeout") \
    | tee "$log" || rc=$?
  local ran
  ran="$(sed -n 's/.* tests failed out of \([0-9][0-9]*\)$/\1/p' "$log" | tail -n 1)"
  rm -f "$log"
  [ "$rc" -eq 0 ] || return "$rc"
  if [ -z "$ran" ] || [ "$ran" -lt "$NODALIS_MIN_TESTS" ]; then
    echo "Only ${ran:-0} tests ran in $dir, at least $NODALIS_MIN_TESTS expected:" \
         "the suite is not fully configured." >&2
    return 1
  fi
  echo "$ran tests ran in $dir."
}
