#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-sanitize/ (Release flags -O2 plus -g, benchmarks off, warnings as
# errors; the options of scripts/deps.sh, whatever the cache holds) and
# runs every test there. Any sanitizer report fails its test, and so does a
# run in which fewer tests ran than the suite has.
# Usage:
#   bash scripts/sanitize.sh
set -euo pipefail
NODALIS_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$NODALIS_ROOT/scripts/deps.sh"
BUILD="${NODALIS_SANITIZE_BUILD_DIR:-$NODALIS_ROOT/build-sanitize}"
nodalis_setup "$BUILD" NODALIS_SANITIZE_OPTIONS
export QT_QPA_PLATFORM=offscreen
# Every report fails its test; leaks inside fontconfig only are suppressed.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$NODALIS_ROOT/scripts/lsan.supp:print_suppressions=0"
# No D-Bus session for the tests on Xvfb: libdbus would autolaunch one, and
# Qt's D-Bus thread still holds its read buffer when the process ends.
export DBUS_SESSION_BUS_ADDRESS="unix:path=/nonexistent/no-session-bus"
nodalis_ctest "$BUILD" 1200
