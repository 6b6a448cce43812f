#!/usr/bin/env bash
# Installs from Debian whatever the build and the tests need and this machine
# lacks. Safe to run again: it does nothing when everything is there. A user
# who is neither root nor may use sudo is told what is missing instead.
set -euo pipefail

packages=(
  cmake g++ make pkg-config git
  clang-format    # the layout check among the tests
  clang libclang-rt-14-dev  # the fuzzers (libFuzzer) and sanitizer runtimes
  libicu-dev      # charset conversion and Unicode case mapping
  libgumbo-dev    # the HTML parser of --text
  libuchardet-dev  # charset statistics of --charset detect
  zlib1g-dev      # web archives (.warc.gz) and gzip-coded pages in them
  libcli11-dev    # the command line
  nlohmann-json3-dev  # vantrel-cli's JSON report
  libgtest-dev    # the tests
  libbenchmark-dev  # the micro-benchmarks
  qt6-base-dev    # the window
  qt6-l10n-tools  # lupdate and lrelease, for the window's translations
  groff-base      # the manual page check
  parallel        # the "Many machines" recipe (GNU parallel), run as a test
  dpkg-dev desktop-file-utils appstream lintian file  # the package checks
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Installing them needs root or sudo, and sudo is not here." >&2
    echo "As root: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
