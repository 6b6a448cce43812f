#!/usr/bin/env bash
# Builds the fuzzers with clang and libFuzzer into build-fuzz/ and runs each
# one for the given number of seconds (default 30) on the seed corpus in
# fuzz/corpus. New inputs go to build-fuzz/corpus, never into the repository;
# a crashing input is kept as build-fuzz/crash-*. Fails on any finding.
#   bash scripts/fuzz.sh [SECONDS] [FUZZER...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
fuzzers=("$@")
[ ${#fuzzers[@]} -gt 0 ] || fuzzers=(decode marker_search run suggest warc)

bash scripts/setup.sh
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DVANTREL_FUZZ=ON \
  -DBUILD_TESTING=OFF -DVANTREL_WINDOW=OFF -DVANTREL_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target \
  $(printf '%s_fuzzer ' "${fuzzers[@]}")

for name in "${fuzzers[@]}"; do
  mkdir -p "build-fuzz/corpus/$name"
  log="build-fuzz/fuzz-$name.log"
  echo "== fuzzing $name for ${seconds}s"
  if ! (cd build-fuzz && "fuzz/${name}_fuzzer" -max_total_time="$seconds" \
          -print_final_stats=1 "corpus/$name" "../fuzz/corpus/$name") \
          >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzzer $name found a failure; the input is in build-fuzz/"
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units)' "$log"
done
