#!/usr/bin/env bash
# Builds the Debian package and checks it without installing it: unpacked into a scratch
# folder, the program tells its version, counts tests/fixtures on the console without opening
# a Qt library, finds its desktop module, holds no test hook, and its help pages are where it
# looks for them; the desktop entry, the project file
# type, the icon and the manual page pass their checks; lintian lists its findings and fails
# the check on an error or a warning.
#   scripts/check-package.sh [BUILD_DIRECTORY]      (default build/package)
# The help pages are looked up by the test driver (tests/ui/driver), the same program with a
# command interpreter, put beside the unpacked one: TW_TEST_DRIVER names a built driver, else
# one is built in build/test-driver.
set -euo pipefail
cd "$(dirname "$0")/.."

driver=${TW_TEST_DRIVER:-}
if [[ -z $driver ]]; then
    if [[ ! -f build/test-driver/build.ninja ]]; then
        cmake -S . -B build/test-driver -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DTW_BUILD_BENCH=OFF >/dev/null
    fi
    cmake --build build/test-driver --target tallyweaver-test-driver
    driver=build/test-driver/tests/ui/tallyweaver-test-driver
fi
driver=$(realpath "$driver")

deb=$(bash scripts/package.sh "$@" | tail -n 1)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/root"
usr=$scratch/root/usr
program=$usr/bin/tallyweaver

step() { echo "== check-package: $*"; }
fail() {
    echo "check-package: FAILED: $*" >&2
    exit 1
}

step "tallyweaver --version"
version=$("$program" --version)
echo "$version"
[[ $version == "Tallyweaver $(dpkg-deb -f "$deb" Version)" ]] ||
    fail "the program's version is not the package's"

step "a console count of tests/fixtures"
mkdir "$scratch/out"
"$program" -dir tests/fixtures -ext .c .cpp .h .java .rc -out "$scratch/out" -quiet ||
    fail "the console count ended with code $?"
summary=$(ls "$scratch"/out/output_*.txt) || fail "no quick summary was written"
grep -a -E '^Counted:' "$summary"

step "the desktop module, opened only by the desktop program"
module=$(find "$usr/lib" -path '*/tallyweaver/libtallyweaver-desktop.so' -type f)
[[ -n $module ]] || fail "the package holds no libtallyweaver-desktop.so"
echo "${module#"$scratch/root"}"
readelf -d "$module" | grep -q 'NEEDED.*libQt6Widgets' || fail "the module does not need Qt Widgets"
! readelf -d "$program" | grep -q 'NEEDED.*libQt' || fail "the program itself needs Qt"
strace -f -qq -e trace=openat -o "$scratch/trace" \
    "$program" -dir tests/fixtures -ext .c .cpp .h .java .rc -out "$scratch/out" -quiet ||
    fail "the traced console count ended with code $?"
qt=$(grep -oE '"[^"]*/libQt[^"/]*"' "$scratch/trace" | sort -u || true)
[[ -z $qt ]] || fail "a console run opened Qt libraries: $qt"
# Without a display the desktop program says so: its message comes from the module, which the
# unpacked program found beside itself.
start=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" 2>&1) && status=0 || status=$?
[[ $status -eq 1 ]] && grep -q 'no display' <<<"$start" ||
    fail "the desktop program did not start from its module (code $status): $start"

step "libgit2: named in Depends, loaded by a -git scan"
dpkg-deb -f "$deb" Depends | grep -q 'libgit2' || fail "the package does not depend on libgit2"
scan=$("$program" -dir src/cli -ext .cpp -git -out "$scratch/out" -quiet 2>&1) ||
    fail "the -git scan ended with code $?"
! grep -q 'libgit2 cannot be loaded' <<<"$scan" || fail "$scan"

step "no test hook in the installed program"
if grep -qa -e TALLYWEAVER_TEST_COMMANDS -e DesktopTestCommands "$program" "$module"; then
    fail "the program or its desktop module holds the desktop test commands"
fi
[[ ! -e $usr/bin/tallyweaver-test-driver ]] || fail "the package installs the test driver"

step "the help pages beside the installed program"
cp "$driver" "$usr/bin/tallyweaver-test-driver"
pages=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
    XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache" \
    TALLYWEAVER_TEST_COMMANDS="help-page documentation.html; help-page command-line.html; close" \
    "$usr/bin/tallyweaver-test-driver" 2>/dev/null | grep '^help page: ' || true)
rm "$usr/bin/tallyweaver-test-driver"
echo "$pages"
for page in documentation.html command-line.html; do
    grep -qxF "help page: $usr/share/tallyweaver/help/$page" <<<"$pages" ||
        fail "the program does not open its installed $page"
done

step "desktop-file-validate"
findings=$(desktop-file-validate "$usr/share/applications/tallyweaver.desktop" 2>&1) ||
    fail "$findings"
[[ -z $findings ]] || fail "$findings"

step "xmllint and update-mime-database on the project file type"
xmllint --noout "$usr/share/mime/packages/tallyweaver.xml"
mkdir -p "$scratch/mime/packages"
cp "$usr/share/mime/packages/tallyweaver.xml" "$scratch/mime/packages/"
complaints=$(XDG_DATA_DIRS="$scratch" update-mime-database "$scratch/mime" 2>&1) ||
    fail "$complaints"
[[ -z $complaints ]] || fail "$complaints"
grep -qxF 'application/x-tallyweaver-project:*.tyx' <(cut -d: -f2- "$scratch/mime/globs2") ||
    fail "*.tyx is not the project file type"

step "the icon"
file "$usr/share/icons/hicolor/256x256/apps/tallyweaver.png" | grep -q 'PNG image data, 256 x 256' ||
    fail "the PNG icon is not 256 by 256 pixels"
xmllint --noout "$usr/share/icons/hicolor/scalable/apps/tallyweaver.svg"

step "man -l on the manual page"
warnings=$(MANWIDTH=80 man --warnings -l "$usr/share/man/man1/tallyweaver.1.gz" 2>&1 >/dev/null)
[[ -z $warnings ]] || fail "$warnings"
MANWIDTH=80 man -l "$usr/share/man/man1/tallyweaver.1.gz" | grep -q -e '--open FILE' ||
    fail "the manual page lacks --open"

step "bash completion"
bash -c 'source "$1" && complete -p tallyweaver' _ "$usr/share/bash-completion/completions/tallyweaver"

step "lintian"
status=0
findings=$(lintian --display-info --pedantic --display-experimental --fail-on error,warning "$deb" 2>&1) ||
    status=$?
grep -v 'running with root privileges' <<<"$findings" || true
[[ $status -eq 0 ]] || fail "lintian found errors or warnings"

echo "check-package: $deb passed"
