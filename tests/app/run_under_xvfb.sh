#!/usr/bin/env bash
# Runs a test program on a virtual X server (Xvfb, 1600x1200) with Qt's xcb
# platform, so that it can be driven with real key and mouse events
# (xdotool). Without a window manager by default; with --wm first, under
# openbox, which frames, places and constrains the windows as a desktop
# does. Exits 77, which ctest counts as skipped, when a tool it needs is not
# installed (scripts/deps.sh installs them).
wm=""
if [ "${1:-}" = "--wm" ]; then
  shift
  wm=openbox
fi
if [ "${1:-}" = "--inside-wm" ]; then
  # On the virtual display: the window manager first, ready once it has
  # announced itself on the root window; then the program.
  shift
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  for _ in $(seq 300); do  # up to 30 s on a loaded machine
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  "$@"
  rc=$?
  kill "$wm_pid" 2>/dev/null
  wait "$wm_pid" 2>/dev/null
  exit $rc
fi
tools="xvfb-run Xvfb xdotool xauth"
[ -n "$wm" ] && tools="$tools openbox xprop"
for tool in $tools; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done
export QT_QPA_PLATFORM=xcb
if [ -n "$wm" ]; then
  exec xvfb-run -a -s "-screen 0 1600x1200x24" bash "${BASH_SOURCE[0]}" --inside-wm "$@"
fi
exec xvfb-run -a -s "-screen 0 1600x1200x24" "$@"
