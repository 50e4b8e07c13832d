#!/usr/bin/env bash
# velmorin-bmp: output lines, exit statuses and the usage error, on a few files of the BMP suite
# and on a background painted at a size of its own by velmorin-pictures --size.
# Usage: bmp_check_test.sh VELMORIN_BMP SUITE_DIR VELMORIN_PICTURES
set -uo pipefail
tool=$1
suite=$2
painter=$3
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# expect_run STATUS EXPECTED_STDOUT ARGS...: runs the tool and compares status and output.
expect_run() {
    local want_status=$1 want_out=$2
    shift 2
    local out status
    out=$("$tool" "$@" 2>/dev/null)
    status=$?
    [ "$status" -eq "$want_status" ] || fail "$*: status $status, expected $want_status"
    [ "$out" == "$want_out" ] || fail "$*: output"$'\n'"$out"$'\n'"expected"$'\n'"$want_out"
}

[ -d "$suite" ] || { echo "FAIL: BMP suite missing at $suite" >&2; exit 1; }

rgb24=$suite/g/rgb24.bmp
pillow=$suite/writers/pillow-9.4.0-save.bmp
pal8=$suite/g/pal8.bmp
missing=$suite/no-such-file.bmp
rgb24_line=$(printf '%s\tok\t127\t64\t128\t64\t%s' "$rgb24" \
    d18a766b0e02b887abfe57dfe5f2054891456122b991180d9ea8b1e672355ee1)
pillow_line=$(printf '%s\tok\t37\t23\t64\t32\t%s' "$pillow" \
    2105aa6e164e718d55032afb9153df1bbaf5cb026a3e1f4dc2f361b3eeb5dae0)
pal8_line=$(printf '%s\terror\tUnsupported bitmap format' "$pal8")
missing_line=$(printf '%s\terror\tCould not open bitmap file' "$missing")

expect_run 0 "$rgb24_line"$'\n'"$pillow_line" "$rgb24" "$pillow"
expect_run 1 "$pal8_line"$'\n'"$rgb24_line" "$pal8" "$rgb24"
expect_run 1 "$rgb24_line"$'\n'"$missing_line" "$rgb24" "$missing"

# velmorin-pictures --size WxH paints the background alone at that size, read back here; a size
# without its height is refused with the usage line.
painted=$(mktemp -d)
"$painter" --size 64x48 "$painted" || fail "--size 64x48: status $?"
painted_line=$(printf '%s\tok\t64\t48\t64\t64\t%s' "$painted/bitmap/background.bmp" \
    e46218277abf0891737c88376d76cde38d3cbbcec74a28ad7b0c13b5a21e5521)
expect_run 0 "$painted_line" "$painted/bitmap/background.bmp"
"$painter" --size 64 "$painted" 2>/dev/null
[ $? -eq 2 ] || fail "--size 64: not refused with status 2"
rm -rf "$painted"

# No file at all: status 2, nothing on stdout, exactly one usage line on stderr.
err_file=$(mktemp)
trap 'rm -f "$err_file"' EXIT
usage_out=$("$tool" 2>"$err_file")
usage_status=$?
usage_err=$(cat "$err_file")
[ "$usage_status" -eq 2 ] || fail "no arguments: status $usage_status, expected 2"
[ -z "$usage_out" ] || fail "no arguments: unexpected stdout: $usage_out"
[ "$(printf '%s\n' "$usage_err" | wc -l)" -eq 1 ] && [[ $usage_err == usage:* ]] ||
    fail "no arguments: stderr is not one usage line: $usage_err"

[ "$failures" -eq 0 ] || exit 1
echo "velmorin-bmp: all checks passed"
