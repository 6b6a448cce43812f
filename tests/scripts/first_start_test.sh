#!/usr/bin/env bash
# scripts/run.sh as on a first start without a display, twice: it builds
# only the two programs it can start, into build/, runs vantrel-cli on the
# samples in build/samples and says so, leaves nothing in the temporary
# folder, and the second start finds the samples as fresh as the first.
# scripts/test.sh runs this before it builds the rest of build/.
#   bash tests/scripts/first_start_test.sh
cd "$(dirname "$0")/../.."
source tests/support/shell_test.sh
mkdir "$work/tmp"
samples=$PWD/build/samples

for start in 1 2; do
  log=$work/run$start.log
  status=0
  env -u DISPLAY -u WAYLAND_DISPLAY TMPDIR="$work/tmp" bash scripts/run.sh \
    >"$log" 2>&1 || status=$?
  if [ $status -ne 0 ]; then
    cat "$log"
    fail "start $start: run.sh exited with $status"
    continue
  fi
  left=$(ls -A "$work/tmp")
  [ -z "$left" ] || fail "start $start left in TMPDIR: $left"
  grep -qF "$samples" "$log" || fail "start $start does not say where" \
    "the samples are ($samples)"
  grep -qx "4 checked, 1 didn't find." "$log" ||
    fail "start $start shows no run of vantrel-cli on the samples"
  # Make says "Built target NAME" for every target it goes through.
  others=$(sed -n 's/.*Built target //p' "$log" | sort -u |
             grep -E 'test|bench|corpus|replay|fuzz|manual|changelog')
  [ -z "$others" ] || fail "start $start built more than it starts:" $others
done

# The samples again, and only the first run's output beside them.
expected=$( (ls examples/pages; echo Export1.htm) | sort)
[ "$(ls "$samples" 2>/dev/null | sort)" = "$expected" ] ||
  fail "after the second start build/samples holds:" $(ls "$samples")

finish "run.sh built the two programs and ran on" \
  "$samples, twice, leaving nothing in TMPDIR"
