#!/usr/bin/env bash
# Builds the Debian package tallyweaver_<version>_<arch>.deb from a fresh Release build with
# Debian's usual compiler and linker flags, and prints its path on the last line:
#   scripts/package.sh [BUILD_DIRECTORY]      (default build/package)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh

build=${1:-build/package}
rm -rf "$build"
# Debian's compiler and linker flags with every hardening feature (immediate binding too);
# CMake reads them at the first configure.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DTW_WERROR=ON -DTW_BUILD_TESTS=OFF -DTW_BUILD_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G DEB)

deb=$(ls "$build"/package/tallyweaver_*.deb)
echo "$(realpath "$deb")"
