#!/bin/sh
# Builds the test of the Windows back ends (tests/windows/cross) with the mingw-w64 cross
# compiler and runs it under Wine, in a Wine prefix and home of its own that are removed
# afterwards. Exits 77 (skipped) when the cross compiler or Wine is missing.
# usage: run-under-wine.sh CMAKE GENERATOR SOURCE_DIR BUILD_DIR
set -u
cmake=$1
generator=$2
source=$3
build=$4
skipped=77

if ! command -v x86_64-w64-mingw32-g++ >/dev/null 2>&1; then
    echo "Skipped: no x86_64-w64-mingw32-g++ (Debian: g++-mingw-w64-x86-64-win32)"
    exit $skipped
fi
# Debian's wine64 keeps its loader off the PATH.
wine=""
for candidate in "$(command -v wine 2>/dev/null)" "$(command -v wine64 2>/dev/null)" \
    /usr/lib/wine/wine64; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then
        wine=$candidate
        break
    fi
done
if [ -z "$wine" ]; then
    echo "Skipped: no Wine (Debian: wine64)"
    exit $skipped
fi
wineserver="$(dirname "$wine")/wineserver"
[ -x "$wineserver" ] || wineserver=$(command -v wineserver 2>/dev/null) || wineserver=""

"$cmake" -S "$source/tests/windows/cross" -B "$build" -G "$generator" \
    -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" || exit 1
"$cmake" --build "$build" -j2 || exit 1

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quor-wine.XXXXXX") || exit 1
finish() {
    # Only this prefix's server and programs; other Wine prefixes are left alone.
    [ -n "$wineserver" ] && WINEPREFIX="$scratch/prefix" "$wineserver" -k 2>/dev/null
    rm -rf "$scratch"
}
trap finish EXIT
trap 'exit 1' HUP INT TERM
mkdir "$scratch/home"

# No display, so no window can open and wait; no offer to install the engines Wine lacks;
# no copying of the test's file associations out to the desktop of this machine.
unset DISPLAY WAYLAND_DISPLAY
export HOME="$scratch/home" XDG_DATA_HOME="$scratch/home/data" XDG_CONFIG_HOME="$scratch/home/config"
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
export QUORBROWSER_SCRATCH_REGISTRY=1
if command -v timeout >/dev/null 2>&1; then
    timeout 300 "$wine" "$build/tst_WinServices.exe" </dev/null
else
    "$wine" "$build/tst_WinServices.exe" </dev/null
fi
