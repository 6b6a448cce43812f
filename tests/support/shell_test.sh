# Sourced by the shell tests: strict mode, fail() to note a failure and go
# on, a scratch folder $work removed at exit, and finish() to end with the
# test's status, saying what passed when nothing failed.
set -uo pipefail
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
finish() {
  [ $failed -eq 0 ] && echo "$*"
  exit $failed
}
