#!/usr/bin/env bash
# Fuzzes the BMP reader with libFuzzer, AddressSanitizer and UBSan, seeded with the BMP suite.
# Usage: scripts/fuzz.sh [seconds]   (default 60). Exits non-zero on any crash, leak or abort;
# the failing input is left in build-fuzz/ as crash-*, leak-* or timeout-*.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages clang libclang-rt-14-dev

seconds=${1:-60}
out=build-fuzz
suite=../shared/bmpsuite
# Largest input tried: room for a small picture behind a long header block.
max_len=65536

mkdir -p "$out/corpus" "$out/seeds"
clang++ -std=c++20 -O1 -g -ffp-contract=off -I. \
    -Wall -Wextra -Wpedantic -Wshadow -Wdouble-promotion -Werror \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer \
    render/bmp.cpp render/error_report.cpp fuzz/read_bmp_fuzzer.cpp -o "$out/read_bmp_fuzzer"

if [ ! -d "$suite" ]; then
    echo "BMP suite missing at $suite: cannot seed the fuzzer" >&2
    exit 1
fi
# Folder names go into the seed names, since the suite reuses file names across folders.
while IFS= read -r file; do
    rel=${file#"$suite"/}
    cp "$file" "$out/seeds/${rel//\//_}"
done < <(find "$suite" -name '*.bmp')

echo "== fuzzing readBmp for ${seconds}s"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$out/read_bmp_fuzzer" -max_total_time="$seconds" -max_len="$max_len" \
    -artifact_prefix="$out/" -print_final_stats=1 "$out/corpus" "$out/seeds"
echo "== no crash, leak or abort found"
