#!/usr/bin/env bash
# Configures build/ and builds the given targets, or all of them. run.sh and
# test.sh both build through here, so build/ is configured alike whichever
# comes first and neither makes the other rebuild: warnings are errors and
# the tests are on, whether or not they are built. Options given (-D...)
# pass on to CMake.
#   bash scripts/build.sh [-DOPTION=VALUE...] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
options=()
targets=()
for arg in "$@"; do
  case $arg in
    -*) options+=("$arg") ;;
    *) targets+=(--target "$arg") ;;
  esac
done
bash scripts/setup.sh
cmake -S . -B build -DVANTREL_WERROR=ON -DBUILD_TESTING=ON "${options[@]}" \
  >/dev/null
cmake --build build -j "$(nproc)" "${targets[@]}"
