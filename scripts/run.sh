#!/usr/bin/env bash
# Builds the two programs and starts Vantrel's window, with a fresh copy of
# the sample pages in build/samples to try it on. Without a display it says
# so and shows vantrel-cli at work on the samples instead.
set -euo pipefail
cd "$(dirname "$0")/.."

# Only what starts here; scripts/test.sh builds the rest into the same tree.
targets=(vantrel-cli)
grep -qx 'VANTREL_WINDOW:BOOL=OFF' build/CMakeCache.txt 2>/dev/null ||
  targets+=(vantrel)
bash scripts/build.sh "${targets[@]}"

# The same place every time, holding the samples and nothing else, so that
# the first run's output is Export1 again.
samples=$PWD/build/samples
rm -rf "$samples"
mkdir -p "$samples"
cp examples/pages/* "$samples"/
echo
echo "A fresh copy of the sample pages is in $samples"
echo "(emptied and copied again from examples/pages at every start)."

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/window/vantrel ]; then
  echo "Choose it with \"...\" (or type it into From:) and press GO!."
  exec build/window/vantrel
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the"
  echo "window cannot open; here is vantrel-cli doing the same work."
else
  echo "The window was not built (is VANTREL_WINDOW off?); here is vantrel-cli."
fi
echo
status=0
build/cli/vantrel-cli "$samples" || status=$?
out=$(find "$samples" -maxdepth 1 -name 'Export*' | sort | head -n 1)
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
