#!/usr/bin/env bash
# Configures and builds Vantrel into build/ (extra CMake options pass through).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build "$@" >/dev/null
cmake --build build -j "$(nproc)"
