#!/usr/bin/env bash
# Builds everything in build/ (tests and benchmarks, warnings as errors:
# the options of scripts/deps.sh, whatever the cache holds) and runs every
# test (ctest). Fails when a test fails, when no test runs, or when fewer
# tests ran than the suite has. Usage: bash scripts/test.sh
set -euo pipefail
NODALIS_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$NODALIS_ROOT/scripts/deps.sh"
BUILD="${NODALIS_BUILD_DIR:-$NODALIS_ROOT/build}"
nodalis_setup "$BUILD" NODALIS_MAIN_OPTIONS
export QT_QPA_PLATFORM=offscreen
nodalis_ctest "$BUILD" 600
