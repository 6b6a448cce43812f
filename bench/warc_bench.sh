#!/usr/bin/env bash
# The web archive benchmark: real WARC files written by wget from a local
# HTTP server serving corpus A (10,000 pages x 20 KB, UTF-8), and
# vantrel-cli's run over them timed against the floor of a one-thread
# reader: `zcat FILE > /dev/null` for the .warc.gz, `cat FILE > /dev/null`
# for the .warc. Then the peak memory of a run over an archive of 1 GB,
# made by repeating the crawl's gzip members. Prints figures; checks
# nothing. Everything is made in a folder of /tmp and deleted at the end.
#
#   bash bench/warc_bench.sh [BUILD_FOLDER]     (default: build)
#
# Needs wget, python3 and GNU time (/usr/bin/time); installs wget when it
# is missing and this user may.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
cli=$build/cli/vantrel-cli
make_corpus=$build/bench/vantrel-make-corpus
for program in "$cli" "$make_corpus"; do
  [ -x "$program" ] || { echo "build $program first" >&2; exit 1; }
done
if ! command -v wget >/dev/null; then
  if [ "$(id -u)" = 0 ]; then apt-get install -y wget >/dev/null
  else sudo apt-get install -y wget >/dev/null; fi
fi

work=$(mktemp -d /tmp/vantrel-warc-bench.XXXXXX)
server=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Corpus A, as the run benchmark makes it.
"$make_corpus" --count 10000 --size 20000 --encoding utf-8 "$work/A" >/dev/null

# Served on a free port of 127.0.0.1, fetched by wget into two archives.
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
(cd "$work/A" && exec python3 -m http.server --bind 127.0.0.1 "$port" \
  >/dev/null 2>&1) &
server=$!
for _ in $(seq 50); do
  wget -q -O /dev/null "http://127.0.0.1:$port/" && break
  sleep 0.2
done
# Every file of the corpus, as a crawler meets it; those that are not
# pages are records that the run passes over.
(cd "$work/A" && ls) | sed "s|^|http://127.0.0.1:$port/|" >"$work/urls"
(cd "$work" && wget -q --input-file=urls --warc-file=crawl -O /dev/null \
  --no-verbose 2>/dev/null || true)
(cd "$work" && wget -q --input-file=urls --warc-file=plain \
  --no-warc-compression -O /dev/null --no-verbose 2>/dev/null || true)
kill "$server"; wait "$server" 2>/dev/null || true; server=

# The best of three wall-clock times of a command, in seconds.
best_of_3() {
  local best= t
  for _ in 1 2 3; do
    rm -rf "$work"/Export*
    # (A run in which pages give no piece ends with status 1.)
    /usr/bin/time -f %e -o "$work/time" "$@" >/dev/null 2>&1 || true
    t=$(tail -1 "$work/time")
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
  done
  echo "$best"
}
mb() { awk "BEGIN{printf \"%.0f\", $(stat -c %s "$1") / 1e6}"; }
markers=()  # the window's default markers, which corpus A's pages hold
pages=$(wc -l <"$work/urls")
echo "Corpus A served by python3 -m http.server, $pages files fetched by" \
  "$(wget --version | head -1 | cut -d' ' -f1-3)"
{ "$cli" "${markers[@]}" "$work/crawl.warc.gz" 2>/dev/null || true; } |
  tail -1 | sed 's/^/  one run over crawl.warc.gz: /'
rm -rf "$work"/Export*

for kind in gz plain; do
  if [ $kind = gz ]; then file=$work/crawl.warc.gz floor=zcat
  else file=$work/plain.warc floor=cat; fi
  floor_s=$(best_of_3 $floor "$file")
  run_s=$(best_of_3 "$cli" "${markers[@]}" "$file")
  target=$([ $kind = gz ] && echo ' (target <= 1.3)' || true)
  printf '%-16s %5s MB  %-5s %6.2f s  vantrel-cli %6.2f s  ratio %.2f%s\n' \
    "$(basename "$file")" "$(mb "$file")" "$floor" "$floor_s" "$run_s" \
    "$(awk "BEGIN{print $run_s / $floor_s}")" "$target"
done

# An archive of 1 GB: the crawl's members again and again.
big=$work/big.warc.gz
while [ "$(stat -c %s "$big" 2>/dev/null || echo 0)" -lt 1000000000 ]; do
  cat "$work/crawl.warc.gz" >>"$big"
done
rm -rf "$work"/Export*
/usr/bin/time -f %M -o "$work/time" "$cli" "${markers[@]}" "$big" \
  >"$work/big.log" 2>/dev/null || true
peak=$(tail -1 "$work/time")
echo "big.warc.gz $(mb "$big") MB: $(tail -1 "$work/big.log");" \
  "peak memory $((peak / 1024)) MiB (target <= 64)"
