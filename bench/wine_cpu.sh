#!/usr/bin/env bash
# CPU that lumora.exe takes while animating under Wine, against the minimal Win32 ticker, in the
# same run and alternating: the program's own process plus wineserver, from the scheduler's
# nanosecond accounting of every thread. Prints each round and the median ratio, also as JSON
# into OUTPUT_JSON when given.
#   bench/wine_cpu.sh [BUILD_DIR] [SECONDS] [ROUNDS] [OUTPUT_JSON]   (build/windows 20 5)
set -euo pipefail
build=${1:-build/windows}
seconds=${2:-20}
rounds=${3:-5}
output=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
bash "$here/../tests/wine_prefix.sh" "$WINEPREFIX"
Xvfb :77 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:77
trap 'wineserver -k 2>/dev/null || true; kill $xvfb; rm -rf "$work"' EXIT

# Nanoseconds on a CPU of every thread of these processes.
cpu() {
    local total=0 pid task
    for pid in "$@"; do
        for task in /proc/"$pid"/task/*/schedstat; do
            total=$((total + $(cut -d' ' -f1 "$task")))
        done
    done
    echo "$total"
}

# CPU nanoseconds a program takes over `seconds`, after it has settled.
measure() {
    local exe=$1
    wine "$exe" &
    sleep 4
    local pid server before after
    pid=$(pgrep -n -f "$(basename "$exe")$")
    server=$(pgrep -n -x "wineserver64|wineserver")
    before=$(cpu "$pid" "$server")
    sleep "$seconds"
    after=$(cpu "$pid" "$server")
    wineserver -k
    wait 2>/dev/null || true
    echo $((after - before))
}

lumora=$build/logic/lumora.exe
baseline=$build/bench/minimal_win32_ticker.exe
ratios=()
for round in $(seq "$rounds"); do
    if [ $((round % 2)) -eq 1 ]; then
        base=$(measure "$baseline")
        ours=$(measure "$lumora")
    else
        ours=$(measure "$lumora")
        base=$(measure "$baseline")
    fi
    ratio=$(awk -v a="$ours" -v b="$base" 'BEGIN { printf "%.3f", a / b }')
    ratios+=("$ratio")
    awk -v r="$round" -v a="$ours" -v b="$base" -v s="$seconds" -v q="$ratio" 'BEGIN {
        printf "round %d: lumora %.3f%% of a core, minimal ticker %.3f%%, ratio %s\n",
            r, a / s / 1e7, b / s / 1e7, q }'
done
printf '%s\n' "${ratios[@]}" | sort -n | awk '{ v[NR] = $1 } END {
    printf "median ratio %.3f (spread %.3f to %.3f) over %d rounds; target at most 1.1\n",
        v[int((NR + 1) / 2)], v[1], v[NR], NR }'
if [ -n "$output" ]; then
    printf '%s\n' "${ratios[@]}" | sort -n | awk -v s="$seconds" '{ v[NR] = $1 } END {
        m = v[int((NR + 1) / 2)]
        printf "[{\"name\": \"Windows: CPU while animating under Wine, ratio\", \"value\": %.3f, ", m
        printf "\"target\": \"<= 1.1\", \"holds\": %s, ", (m <= 1.1 ? "true" : "false")
        printf "\"note\": \"against a minimal Win32 ticker, %d rounds of %d s; ratios %.2f to %.2f\"}]\n",
            NR, s, v[1], v[NR] }' >"$output"
fi
