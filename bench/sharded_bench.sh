#!/usr/bin/env bash
# README's "Many machines" recipe on this machine: the same list of pages
# sharded by GNU parallel over one job slot, then over two (--sshlogin N/:),
# each job a vantrel-cli --files-from run writing its own --jsonl. Prints
# the best wall time of each over a few rounds, how many processors that
# round kept busy (its processes' CPU time over its wall time), and the
# speed-up of two slots over one, for a run of pieces as HTML and one with --text (where the
# pieces' transform is most of the work). The pages are read once first, so
# that both read from the page cache.
#   sharded_bench.sh VANTREL_CLI VANTREL_MAKE_CORPUS [PAGES [BYTES [ROUNDS]]]
set -euo pipefail
cli=$1 make_corpus=$2
pages=${3:-4000} bytes=${4:-40000} rounds=${5:-3}
command -v parallel >/dev/null || {
  echo "skipped: GNU parallel is not installed (Debian package parallel)"
  exit 77
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PARALLEL_HOME=$work/.parallel
mkdir -p "$PARALLEL_HOME"
touch "$PARALLEL_HOME/will-cite"
PATH=$(dirname "$cli"):$PATH
cd "$work"

"$make_corpus" --count "$pages" --size "$bytes" pages >/dev/null
find pages -name '*.htm' -print0 >list
cat pages/* >/dev/null
per_job=$(((pages + 31) / 32))  # 32 jobs: small shards balance the slots

# The recipe on `slots` job slots with the extra vantrel-cli options
# given, as "WALL CPU" in seconds for the round of the best wall time: CPU is
# the user and system time of every process of the round, so that CPU / WALL
# is how many processors the round kept busy.
best_time() {
  local slots=$1 best="" times
  shift
  for _ in $(seq "$rounds"); do
    rm -rf shard-*
    times=$( { TIMEFORMAT='%R %U %S'; time parallel --pipe --recend '\0' \
      -N "$per_job" --sshlogin "$slots/:" --wd . \
      'mkdir -p shard-{#} &&
       vantrel-cli --quiet --files-from - --null --out shard-{#} --jsonl '"$*" \
      <list >/dev/null 2>&1; } 2>&1)
    best=$(awk -v t="$times" -v b="$best" 'BEGIN {
      split(t, f, " "); split(b, g, " ");
      if (b == "" || f[1] < g[1]) print f[1], f[2] + f[3]; else print b }')
  done
  echo "$best"
}

echo "pages: $pages of about $bytes bytes, $per_job a job, $(nproc) processors, best of $rounds"
for mode in html text; do
  extra=""
  [ "$mode" = text ] && extra="--text"
  one=$(best_time 1 $extra)
  two=$(best_time 2 $extra)
  awk -v m="$mode" -v one="$one" -v two="$two" 'BEGIN {
    split(one, a, " "); split(two, b, " ");
    printf "%-5s 1 slot %7.3f s (%.2f processors busy)   2 slots %7.3f s (%.2f)   speed-up %.2fx\n",
           m, a[1], a[2] / a[1], b[1], b[2] / b[1], a[1] / b[1] }'
done
