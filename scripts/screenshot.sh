#!/usr/bin/env bash
# Remakes docs/window.png: the window as it opens, shown by the built program
# on a virtual X screen (Xvfb, no window manager, so no frame) and captured
# with ImageMagick's import. Needs the Debian packages xvfb, x11-utils and
# imagemagick.
#   bash scripts/screenshot.sh [--locale LOCALE] [output.png]
# --locale starts the window in that locale's language, as LANG would:
#   bash scripts/screenshot.sh --locale ar_EG.UTF-8 docs/window-ar.png
# BUILD_DIR names a build folder to take the program from instead of
# building into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
locale=""
if [ "${1:-}" = "--locale" ]; then
  locale=${2:?--locale needs a locale, such as ar_EG.UTF-8}
  shift 2
fi
out=${1:-docs/window.png}

for tool in Xvfb xwininfo import; do
  if ! command -v "$tool" >/dev/null; then
    echo "screenshot.sh: $tool is missing" \
      "(apt-get install xvfb x11-utils imagemagick)" >&2
    exit 1
  fi
done

build=${BUILD_DIR:-}
if [ -z "$build" ]; then
  bash scripts/build.sh vantrel >/dev/null
  build=build
fi

# The first free display number from 99.
display=99
while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done

Xvfb ":$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

export DISPLAY=":$display"
unset WAYLAND_DISPLAY
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display}" ] && break
  sleep 0.1
done

language=()
[ -n "$locale" ] && language=(LANG="$locale" LC_ALL="$locale")
env "${language[@]}" QT_QPA_PLATFORM=xcb "$build/window/vantrel" &
program=$!

# Wait until the window is on the screen, then give it a moment to paint.
window=""
for _ in $(seq 100); do
  window=$(xwininfo -root -tree 2>/dev/null |
             awk '/"Vantrel"/ && / 238x513\+/ { print $1; exit }')
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "screenshot.sh: the window did not appear" >&2
  exit 1
fi
sleep 1
mkdir -p "$(dirname "$out")"
import -window "$window" -strip "$out"
echo "Wrote $out ($(identify -format '%wx%h' "$out"))"
