#!/usr/bin/env bash
# Builds Nodalis and runs its main job. Usage: bash scripts/run.sh
set -euo pipefail
NODALIS_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$NODALIS_ROOT/scripts/deps.sh"
nodalis_install_deps
BUILD="${NODALIS_BUILD_DIR:-$NODALIS_ROOT/build}"
nodalis_build "$BUILD" -DNODALIS_TESTS=OFF -DNODALIS_BENCH=OFF
if [ -x "$BUILD/bin/nodalis-cli" ]; then
  exec "$BUILD/bin/nodalis-cli" "$@"
fi
exec "$BUILD/bin/orbitcore-now" "$@"
