#!/usr/bin/env bash
# Cross-compiles the shell launcher and the system information for Windows,
# 64-bit and 32-bit (where the extended shell call's record must be 60 bytes),
# with the project's warnings as errors. Compiles only; nothing is run.
#
#   scripts/services-windows-check.sh
#
# Needs g++-mingw-w64-x86-64 and g++-mingw-w64-i686 (their "-posix" compilers,
# as the project's mingw-w64 tool-chain file uses).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/services"
version=$(sed -n 's/^project(Serenitap VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
IFS=. read -r major minor patch <<<"$version"
sed -e "s/@PROJECT_VERSION_MAJOR@/$major/" -e "s/@PROJECT_VERSION_MINOR@/$minor/" \
    -e "s/@PROJECT_VERSION_PATCH@/$patch/" "$root/src/services/version.h.in" >"$work/services/version.h"

sources=(services/shell.cpp services/shell_targets.cpp services/shell_win32.cpp services/member_guard.cpp
         services/win32_ansi.cpp kit/services/os_info.cpp kit/services/os_info_win32.cpp)
status=0
for compiler in x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix; do
  if ! command -v "$compiler" >/dev/null; then
    echo "$compiler: not installed" >&2
    status=1
    continue
  fi
  for source in "${sources[@]}"; do
    if ! "$compiler" -std=c++20 -Wall -Wextra -Wpedantic -Werror -I"$root/src" -I"$work" \
        -c "$root/src/$source" -o "$work/out.o"; then
      echo "$compiler: $source failed" >&2
      status=1
    fi
  done
  [ "$status" -eq 0 ] && echo "$compiler: all ${#sources[@]} sources compile"
done
exit "$status"
