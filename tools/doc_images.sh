#!/usr/bin/env bash
# Makes the pictures of the README (docs/images/) with the program itself:
# the main window, the graph window and the map window photographed on a
# virtual screen (Xvfb with the window manager openbox), and the diagram
# and the map that nodalis-cli exports. Each picture is reduced to a palette PNG (pngquant)
# to keep it small. Usage, from the repository root after a build in build/:
#   bash tools/doc_images.sh [BUILD_DIR [OUT_DIR]]
# (DOC_IMAGES_DISPLAY=N starts the search for a free display number at N.)
# Needs xvfb, openbox, xdotool, imagemagick (import) and pngquant
# (apt-get install xvfb openbox xdotool imagemagick pngquant).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
OUT="$(mkdir -p "${2:-$ROOT/docs/images}" && cd "${2:-$ROOT/docs/images}" && pwd)"
for tool in Xvfb openbox xdotool import pngquant; do
  command -v "$tool" >/dev/null || { echo "doc_images.sh: $tool is missing" >&2; exit 1; }
done
# The eclipse of 2024 April 8 (Saros 139), as Julian date TDT.
JD=2460409.25

WORK="$(mktemp -d)"
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

# A display number that is free, from DOC_IMAGES_DISPLAY (default 90) up.
n="${DOC_IMAGES_DISPLAY:-90}"
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$n"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# A fresh settings file in an empty folder (the place: Athens), German
# texts, the program's window with the series of the eclipse.
cd "$WORK"
printf '[Ini]\nPlace=37.98N 23.73E 70\n' >Nodalis.ini
export QT_QPA_PLATFORM=xcb LANG=de_DE.UTF-8
"$BUILD/bin/nodalis" "$JD" >/dev/null 2>&1 &
pids+=($!)

window() {  # the id of the visible window whose name is $1
  local id
  for _ in $(seq 100); do
    id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "doc_images.sh: no window named '$1'" >&2
  return 1
}
main="$(window 'Nodalis')"
graph="$(window 'Nodalis  139')"
sleep 1
# The main window at the top left; the graph window where the program puts
# it (inside the screen, its picture fitted to the window), photographed
# with the main window out of the way. Each is photographed with its frame.
xdotool windowmove "$main" 0 0
xdotool windowactivate --sync "$main" 2>/dev/null || true
sleep 1

shoot() {  # window $1 to $2, reduced to a palette of at most 64 colours
  import -frame -window "$1" "$WORK/shot.png"
  pngquant --force --strip --quality 60-95 64 --output "$2" "$WORK/shot.png"
}
shoot "$main" "$OUT/main-window.png"
xdotool windowminimize --sync "$main" 2>/dev/null || true
xdotool windowactivate --sync "$graph" 2>/dev/null || true
sleep 1
shoot "$graph" "$OUT/graph-window.png"

# The map window, opened with "&Karte" (Alt+K) in the graph window, the
# mouse over the path of member 35 (2114 June 3, at 16 N 20 E on the map
# at 100 %) so that the status line names it and how it looked from the
# place, as nodalis-cli --saros 139 --place 37.98N 23.73E 70 lists it.
xdotool key --window "$graph" alt+k
map="$(window 'Nodalis  Karte 139')"
xdotool windowactivate --sync "$map" 2>/dev/null || true
sleep 1
xdotool mousemove --window "$map" 531 246
sleep 1
shoot "$map" "$OUT/map-window.png"

# The diagram of Saros 145 as nodalis-cli exports it (96 dpi).
"$BUILD/bin/nodalis-cli" --saros 145 --diagram "$WORK/diagram.png" >/dev/null
pngquant --force --strip --quality 60-95 64 --output "$OUT/diagram-saros145.png" "$WORK/diagram.png"
# The world map of Saros 145 as nodalis-cli exports it (96 dpi).
"$BUILD/bin/nodalis-cli" --saros 145 --map "$WORK/map.png" >/dev/null
pngquant --force --strip --quality 60-95 64 --output "$OUT/map-saros145.png" "$WORK/map.png"
ls -l "$OUT"/main-window.png "$OUT"/graph-window.png "$OUT"/map-window.png \
  "$OUT"/diagram-saros145.png "$OUT"/map-saros145.png
