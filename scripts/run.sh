#!/usr/bin/env bash
# Builds Vantrel and starts its window, with a copy of the sample pages to
# try it on. Without a display it says so and shows vantrel-cli at work on
# the samples instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
work=$(mktemp -d)
cp examples/pages/* "$work"/

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/window/vantrel ]; then
  echo "A copy of the sample pages is in $work:"
  echo "choose it with \"...\" (or type it into From:) and press GO!."
  exec build/window/vantrel
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the"
  echo "window cannot open; here is vantrel-cli doing the same work."
else
  echo "The window was not built (is VANTREL_WINDOW off?); here is vantrel-cli."
fi
echo
echo "Extracting from a copy of examples/pages in $work:"
status=0
build/cli/vantrel-cli "$work" || status=$?
out=$(find "$work" -maxdepth 1 -name 'Export*' | sort | head -n 1)
if [ -f "$out" ]; then
  # UTF-16 output begins with the signature FF FE; 8-bit output is windows-1256.
  charset=WINDOWS-1256
  [ "$(head -c 2 "$out" | od -An -tx1 | tr -d ' ')" = "fffe" ] && charset=UTF-16
  echo
  echo "--- $out ($charset, shown as UTF-8) ---"
  iconv -f "$charset" -t UTF-8 "$out" | tr -d '\r'
fi
# 1 means some page gave no piece, which the samples show on purpose.
[ "$status" -le 1 ] || exit "$status"
