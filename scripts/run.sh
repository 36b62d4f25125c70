#!/usr/bin/env bash
# Builds Nodalis and runs its main job: the program's window. Usage:
#   bash scripts/run.sh [JULIAN_DATE]
# Without a display (neither DISPLAY nor WAYLAND_DISPLAY set) it says so and
# prints the table of the present Saros series with nodalis-cli instead.
# It configures build/ exactly as scripts/test.sh does and builds only the
# programs, so the two scripts work in either order in one tree.
set -euo pipefail
NODALIS_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$NODALIS_ROOT/scripts/deps.sh"
BUILD="${NODALIS_BUILD_DIR:-$NODALIS_ROOT/build}"
nodalis_setup "$BUILD" NODALIS_MAIN_OPTIONS nodalis nodalis-cli nodalis-diagram
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$BUILD/bin/nodalis" "$@"
fi
echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): the window of Nodalis cannot open."
echo "Printing the table of the present Saros series with nodalis-cli instead."
echo "(To see the window on a machine without a screen: xvfb-run -a $BUILD/bin/nodalis)"
echo
exec "$BUILD/bin/nodalis-cli"
