#!/usr/bin/env bash
# Installs the Debian packages that building, testing, packaging and benchmarking need. Safe to
# run again: packages already present are skipped, and nothing is installed when all are there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libpcre2-dev
  # The source format check (scripts/check-format.sh).
  clang-format
  libgit2-dev git
  # Tests that stop a run at a chosen system call (strace) or under a resource limit.
  strace util-linux
  # The fuzz targets (scripts/fuzz.sh): clang and its libFuzzer.
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  # A peer's complexity figures, which the tests and bench/complexity-vs-pmccabe.py compare.
  pmccabe
  qt6-base-dev
  xvfb xauth
  # The package (scripts/package.sh): the icon drawn from its SVG, dependencies read from the
  # executable, Debian's build flags; and the checks on what it installs.
  qt6-svg-dev dpkg-dev
  desktop-file-utils shared-mime-info libxml2-utils man-db file lintian
  # The README's examples (tests/docs) pipe the JSON report into jq.
  jq
  # The HTML report opened in a browser (tests/cli/ReportInBrowserTest.cpp).
  chromium
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "bootstrap: every package is installed"
  exit 0
fi

echo "bootstrap: installing ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
if ! "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
  "${as_root[@]}" apt-get update
  "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
