#!/usr/bin/env bash
# Builds the settings store's Windows backend and its tests with mingw-w64 and
# runs them under Wine, against the registry of a throw-away Wine prefix.
#
#   scripts/settings-windows.sh [build-folder]      (default: build-settings-windows)
#   SETTINGS_WINDOWS_BUILD_ONLY=1 ...               cross-compile only
#
# Needs the packages g++-mingw-w64-x86-64, wine64 and googletest (the sources
# of GoogleTest, compiled here for Windows); scripts/setup.sh installs them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-settings-windows}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
toolchain="$root/scripts/mingw-w64.cmake"
jobs=$(nproc 2>/dev/null || echo 2)

# GoogleTest for Windows, once per build folder.
gtest_prefix="$build/googletest-install"
if [ ! -f "$gtest_prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$build/googletest" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$gtest_prefix" -Dgtest_disable_pthreads=ON >/dev/null
  cmake --build "$build/googletest" -j"$jobs" >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi

cmake -S "$root" -B "$build/serenitap" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSERENITAP_BUILD_UI=OFF -DSERENITAP_BUILD_JOURNAL=OFF -DGTest_DIR="$gtest_prefix/lib/cmake/GTest" >/dev/null
cmake --build "$build/serenitap" -j"$jobs" --target settings_tests kit_tests
# The store itself, and the kit's registry class on it.
exes=("$build/serenitap/tests/settings/settings_tests.exe" "$build/serenitap/tests/kit/kit_tests.exe")
echo "settings-windows: built ${exes[*]}"

if [ "${SETTINGS_WINDOWS_BUILD_ONLY:-0}" = 1 ]; then
  exit 0
fi

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine || true)
if [ -z "$wine" ]; then
  echo "settings-windows: Wine is not installed (package wine64)" >&2
  exit 1
fi
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo true)
prefix=$(mktemp -d "${TMPDIR:-/tmp}/serenitap-wine.XXXXXX")
cleanup() {
  WINEPREFIX="$prefix" "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
}
trap cleanup EXIT
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Start-up of a new prefix takes a few seconds; a hung Wine must not hang CI.
for exe in "${exes[@]}"; do
  timeout 600 "$wine" "$exe" --gtest_brief=1 2>&1 | tr -d '\r'
  status=${PIPESTATUS[0]}
  if [ "$status" -ne 0 ]; then
    echo "settings-windows: $(basename "$exe") failed under Wine (status $status)" >&2
    exit "$status"
  fi
done
echo "settings-windows: passed under Wine"
