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

# Seeds (tests/settings/fuzz/seeds): a store file as the program writes it, a
# registry editor export (UTF-16 LE with a byte-order mark and CR LF) and a few
# broken ones. They are copied into the corpus, which the fuzzer adds to.
corpus="$build/reg_file_corpus"
mkdir -p "$corpus"
cp "$root"/tests/settings/fuzz/seeds/* "$corpus"/

# No crash, no leak (AddressSanitizer), no hang (-timeout per input).
"$build/tests/settings/reg_file_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=65536 -print_final_stats=1 "$corpus" 2>&1 | tail -n 15
echo "settings-fuzz: ${seconds} s without a finding"
