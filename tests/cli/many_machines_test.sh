#!/usr/bin/env bash
# README's "Many machines" recipe as it stands, on two local job slots
# (--sshlogin 2/:) instead of hosts: the listed pages, odd names included,
# are sharded over the jobs, each writing its own --jsonl into a folder of
# its own, and the shards' lines, concatenated, are the lines of one run
# over all the pages, as a set. Skipped (77) without GNU parallel, which
# scripts/setup.sh installs.
#   many_machines_test.sh VANTREL_CLI
source "$(dirname "$0")/../support/shell_test.sh"
cli=$1
if ! command -v parallel >/dev/null; then
  echo "skipped: GNU parallel is not installed (Debian package parallel)"
  exit 77
fi
PATH=$(dirname "$cli"):$PATH
export PARALLEL_HOME=$work/.parallel  # no user settings, no citation notice
mkdir -p "$PARALLEL_HOME"
touch "$PARALLEL_HOME/will-cite"
cd "$work" || exit 1

mkdir -p pages/2024
for i in $(seq 1 40); do
  printf '<html><main>page %s body</main></html>' "$i" >"pages/2024/p$i.htm"
done
printf '<main>spaced</main>' >"pages/with space.htm"
printf '<main>broken</main>' >"pages/two
lines.htm"
printf '<main>latin</main>' >"pages/$(printf '\xe9t\xe9').htm"
printf '<main>nothing here' >"pages/no-end.htm"
shards=7  # pages per job
slots=2/:
options=(--quiet --jsonl --text --start '<main>' --end '</main>')

# The recipe: every host sees the pages and the working folder at the same
# path; each job reads its share of the list from its standard input.
find pages -name '*.htm' -print0 |
  parallel --pipe --recend '\0' -N $shards --sshlogin $slots --wd . \
    'mkdir -p shard-{#} &&
     vantrel-cli --files-from - --null --out shard-{#} '"${options[*]@Q}" \
    >/dev/null
status=$?
# One job met the page without an end marker: vantrel-cli's status 1.
[ $status -eq 1 ] || fail "parallel ended with $status, not 1 (one job's)"
cat shard-*/Export1.jsonl >merged.jsonl

mkdir whole
find pages -name '*.htm' -print0 |
  vantrel-cli --files-from - --null --out whole "${options[@]}" >/dev/null
[ $? -eq 1 ] || fail "the single run did not end with 1"

jobs=$(ls -d shard-* | wc -l)
[ "$jobs" -eq 7 ] || fail "$jobs jobs, not 7 (44 pages, $shards a job)"
[ "$(wc -l <merged.jsonl)" -eq 43 ] ||
  fail "$(wc -l <merged.jsonl) merged lines, not 43"
cmp <(sort merged.jsonl) <(sort whole/Export1.jsonl) ||
  fail "the merged shards differ from one run over all the pages"
grep -q '"file":"pages/two\\nlines.htm","piece":"broken"' merged.jsonl ||
  fail "the name with a line break is not in the merged lines"

finish "the sharded recipe's merged JSONL is one run's, as a set of lines"
