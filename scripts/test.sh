#!/usr/bin/env bash
# Builds everything, warnings as errors (NODALIS_WERROR), and runs every
# test (ctest). Usage: bash scripts/test.sh
set -euo pipefail
NODALIS_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$NODALIS_ROOT/scripts/deps.sh"
BUILD="${NODALIS_BUILD_DIR:-$NODALIS_ROOT/build}"
nodalis_setup "$BUILD" -DNODALIS_WERROR=ON
export QT_QPA_PLATFORM=offscreen
cd "$BUILD"
ctest --output-on-failure -j"$(nproc)" --timeout 600
