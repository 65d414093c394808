#!/usr/bin/env bash
# Builds the settings file parser's fuzz target with clang and libFuzzer
# (AddressSanitizer and UndefinedBehaviorSanitizer on) and runs it.
#
#   scripts/settings-fuzz.sh [seconds] [build-folder]   (default: 60, build-settings-fuzz)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${2:-$root/build-settings-fuzz}
case "$build" in /*) ;; *) build="$root/$build" ;; esac

CXX=clang++ CC=clang cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSERENITAP_BUILD_UI=OFF -DSERENITAP_FUZZ=ON >/dev/null
cmake --build "$build" --target reg_file_fuzz

# Seeds: a store file as the program writes it, and a few broken ones.
corpus="$build/reg_file_corpus"
mkdir -p "$corpus"
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Serenitap\\Options]\n"ShowWhatIsIt"=dword:00000001\n\n[HKEY_CURRENT_USER\\Software\\Serenitap\\WindowPosition]\n"Left"=dword:000005a0\n@="x \\\\ \\" y"\n"E"=hex(2):25,54,25,00\n"B"=hex:01,02,\\\n  03\n' >"$corpus/seed-store"
printf 'Windows Registry Editor Version 5.00\r\n; comment\r\n[HKEY_CURRENT_USER\\A]\r\n"m"=hex(7):61,00,00\r\n' >"$corpus/seed-crlf"
printf 'REGEDIT4\n' >"$corpus/seed-wrong-header"
# A registry editor export: UTF-16 LE with a byte-order mark and CR LF.
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Serenitap\\WindowPosition]\r\n"Left"=dword:000003c0\r\n\r\n' |
  iconv -f UTF-8 -t UTF-16LE | { printf '\377\376'; cat; } >"$corpus/seed-utf16"

# No crash, no leak (AddressSanitizer), no hang (-timeout per input).
"$build/tests/settings/reg_file_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=65536 -print_final_stats=1 "$corpus" 2>&1 | tail -n 15
echo "settings-fuzz: ${seconds} s without a finding"
