#!/usr/bin/env bash
# The window tests' program says nothing on Qt's behalf where nobody asked:
# not when CMake lists its tests right after linking it, in the builder's
# environment (as root there is often no XDG_RUNTIME_DIR, and Qt's warning
# about it lands in every build log), and not when a test runs there.
#   quiet_start_test.sh WINDOW_TESTS
source "$(dirname "$0")/../support/shell_test.sh"
program=$1
bare=(env -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY)

status=0
"${bare[@]}" "$program" --gtest_list_tests >"$work/list" 2>"$work/err" ||
  status=$?
[ $status -eq 0 ] || fail "listing the tests exited with $status"
[ ! -s "$work/err" ] || fail "listing the tests printed: $(cat "$work/err")"
# The first test, as Suite.Name.
first=$(awk '/^[^ ]/ {suite = $1} /^  [^ ]/ {print suite $1; exit}' \
          "$work/list")
[ -n "$first" ] || fail "no test was listed"

if [ -n "$first" ]; then
  status=0
  "${bare[@]}" QT_QPA_PLATFORM=offscreen "$program" --gtest_filter="$first" \
    >"$work/out" 2>&1 || status=$?
  [ $status -eq 0 ] || fail "$first exited with $status"
  grep -q "1 test" "$work/out" || fail "$first did not run"
  ! grep -E 'QStandardPaths|XDG_RUNTIME_DIR' "$work/out" ||
    fail "Qt warned while $first ran"
fi

finish "listing the window tests and running $first" \
  "printed nothing of Qt's"
