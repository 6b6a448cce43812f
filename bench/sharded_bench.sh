#!/usr/bin/env bash
# README's "Many machines" recipe on this machine: the same list of pages
# sharded by GNU parallel over one job slot, then over two (--sshlogin N/:),
# each job a vantrel-cli --files-from run writing its own --jsonl. Prints
# the best wall time of each over a few rounds and the speed-up of two
# slots over one, for a run of pieces as HTML and one with --text (where the
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

# The best wall time, in seconds, of the recipe on `slots` job slots with
# the extra vantrel-cli options given.
best_time() {
  local slots=$1 best="" start end
  shift
  for _ in $(seq "$rounds"); do
    rm -rf shard-*
    start=$(date +%s.%N)
    parallel --pipe --recend '\0' -N "$per_job" --sshlogin "$slots/:" --wd . \
      'mkdir -p shard-{#} &&
       vantrel-cli --quiet --files-from - --null --out shard-{#} --jsonl '"$*" \
      <list >/dev/null
    end=$(date +%s.%N)
    best=$(awk -v s="$start" -v e="$end" -v b="$best" \
      'BEGIN { t = e - s; print (b == "" || t < b) ? t : b }')
  done
  printf '%.3f' "$best"
}

echo "pages: $pages of about $bytes bytes, $per_job a job, $(nproc) processors, best of $rounds"
for mode in html text; do
  extra=""
  [ "$mode" = text ] && extra="--text"
  one=$(best_time 1 $extra)
  two=$(best_time 2 $extra)
  awk -v m="$mode" -v one="$one" -v two="$two" 'BEGIN {
    printf "%-5s 1 slot %8.3f s   2 slots %8.3f s   speed-up %.2fx\n",
           m, one, two, one / two }'
done
