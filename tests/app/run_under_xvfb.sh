#!/usr/bin/env bash
# Runs a test program on a virtual X server (Xvfb, 1600x1200, no window
# manager) with Qt's xcb platform, so that it can be driven with real key
# events (xdotool). Exits 77, which ctest counts as skipped, when Xvfb,
# xvfb-run or xdotool is not installed (scripts/deps.sh installs them).
for tool in xvfb-run Xvfb xdotool xauth; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done
export QT_QPA_PLATFORM=xcb
exec xvfb-run -a -s "-screen 0 1600x1200x24" "$@"
