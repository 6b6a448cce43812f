#!/usr/bin/env bash
# Builds Vantrel with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh -DVANTREL_WERROR=ON -DBUILD_TESTING=ON
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
