#!/usr/bin/env bash
# velmorin-trace from the outside: exact text, output shape, determinism, refusal of bad arguments.
set -u
trace="$1"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expect_usage_error() {
    local out err status
    out=$("$trace" "$@" 2>/tmp/trace-err.$$)
    status=$?
    err=$(cat /tmp/trace-err.$$)
    [ "$status" -eq 2 ] || fail "status $status for: $*"
    [ -z "$out" ] || fail "stdout not empty for: $*"
    [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] && [[ "$err" == usage:* ]] || fail "stderr for: $* was '$err'"
}

expect_usage_error
expect_usage_error --seed 1 --frames 3
expect_usage_error --seed 1 --dt 0.01
expect_usage_error --frames 3 --dt 0.01
expect_usage_error --seed -1 --frames 3 --dt 0.01
expect_usage_error --seed 4294967296 --frames 3 --dt 0.01
expect_usage_error --seed 12x --frames 3 --dt 0.01
expect_usage_error --seed 1 --frames -2 --dt 0.01
expect_usage_error --seed 1 --frames 3 --dt nan
expect_usage_error --seed 1 --frames 3 --dt inf
expect_usage_error --seed 1 --frames 3 --dt 0.01x
expect_usage_error --seed 1 --frames 3 --dt
expect_usage_error --seed 1 --frames 3 --dt 0.01 --bogus
expect_usage_error --seed 1 --frames 3 --dt 0.01 --bodies 21
expect_usage_error --seed 1 --frames 3 --dt 0.01 --spray 37 --spray 37
expect_usage_error --seed 1 --frames 3 --dt 0.01 --view wide
expect_usage_error --seed 1 --frames 3 --dt 0.01 --renew always
expect_usage_error --seed 1 --frames 3 --dt 0.01 --size 0x600
rm -f /tmp/trace-err.$$

# The largest seed is accepted.
"$trace" --seed 4294967295 --frames 0 --dt 0 >/dev/null || fail "largest seed refused"

first=$("$trace" --seed 7 --frames 30 --dt 0.015 --particles)
second=$("$trace" --seed 7 --frames 30 --dt 0.015 --particles)
[ "$first" == "$second" ] || fail "same seed gave different traces"
other=$("$trace" --seed 8 --frames 30 --dt 0.015 --particles)
[ "$first" != "$other" ] || fail "different seeds gave the same trace"

# Shape: 5 body lines, a centre line, then per frame 5 state lines and the particles.
lines=$(printf '%s\n' "$first" | awk -F'\t' '{print $1}' | sort | uniq -c | awk '{print $2"="$1}' | tr '\n' ' ')
# Frame f has f particles per body (all below 100): 5 * (1 + ... + 30) = 2325.
[ "$lines" == "body=5 center=1 particle=2325 state=150 " ] || fail "line counts: $lines"
printf '%s\n' "$first" | awk -F'\t' '
    $1 == "body" && NF != 13 { bad = 1 }
    $1 == "center" && NF != 4 { bad = 1 }
    $1 == "state" && NF != 10 { bad = 1 }
    $1 == "particle" && NF != 11 { bad = 1 }
    END { exit bad }' || fail "wrong field counts"
# Newest first: in frame 2 particle slot 0 of body 0 is one step from the sphere top, slot 1 two.
printf '%s\n' "$first" | grep -q $'^particle\t2\t0\t1\t' || fail "no slot 1 in frame 2"
printf '%s\n' "$first" | grep -q $'^particle\t2\t0\t2\t' && fail "slot 2 exists in frame 2"

# The exact text of a short trace: trace_seed7.txt is what trace_reference.py prints, an
# independent calculation of the same seed from the generator, scene, step and spray rules.
here=$(dirname "$0")
if ! changes=$("$trace" --seed 7 --frames 2 --dt 0.015 --particles | diff - "$here/trace_seed7.txt"); then
    fail "seed 7 trace differs from trace_seed7.txt:"
    printf '%s\n' "$changes" | head -n 6
fi
python3 "$here/trace_reference.py" | diff - "$here/trace_seed7.txt" >/dev/null ||
    fail "trace_reference.py no longer prints trace_seed7.txt"

# Settings: twelve spheres, sprays cut at 37 points and recycled from frame 38 on, each step
# 2.5 times the given dt; the reference works the same run out on its own.
settings=(--seed 7 --frames 40 --dt 0.015 --bodies 12 --spray 37 --speed 2.5)
if ! changes=$(diff <("$trace" "${settings[@]}" --particles) <(python3 "$here/trace_reference.py" "${settings[@]}")); then
    fail "trace with ${settings[*]} differs from the reference:"
    printf '%s\n' "$changes" | head -n 6
fi

# A following view and renewal at 800x600: seed 8's scene flies apart early. One view row per
# frame; the renewed scene's rows are exactly what a trace of its own seed begins with.
long=$("$trace" --seed 8 --frames 1000 --dt 0.025 --size 800x600 --view follow --renew auto)
[ "$(printf '%s\n' "$long" | grep -c $'^view\t')" -eq 1000 ] || fail "not one view row per frame"
scene=$(printf '%s\n' "$long" | grep -m1 $'^scene\t')
[ -n "$scene" ] || fail "seed 8 was never renewed in 1000 frames"
seed=$(printf '%s' "$scene" | cut -f3)
[ "$(printf '%s\n' "$long" | grep -A6 -m1 $'^scene\t' | tail -n 6)" == \
  "$("$trace" --seed "$seed" --frames 0 --dt 0)" ] || fail "renewed scene is not seed $seed's"
printf '%s\n' "$long" | awk -F'\t' '$1 == "view" && ($3 < 1 || $3 > 2.5) { bad = 1 } END { exit bad }' ||
    fail "a view scale outside 1 to 2.5"

[ "$failures" -eq 0 ] && echo "all trace checks passed"
exit "$failures"
