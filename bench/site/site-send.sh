#!/bin/bash
# Four units written at once against one unit alone, each a simulator on a
# pseudo-terminal that paces the line at 9600 baud (frames and replies), so
# the wall time is line time. Prints both wall times, their ratio (the goal
# is under 1.1: the site takes about one unit's time, not four) and the
# peak resident memory of `orvex site send`.
#
# Usage: bench/site/site-send.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
tool=$build/src/cli/orvex
sim=$build/src/sim/orvex-sim
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_STATE_HOME=$work/state QT_QPA_PLATFORM=offscreen

# Each simulator prints its device on its first line.
for n in 1 2 3 4; do
    "$sim" --line-rate 9600 --state "$work/sim$n.json" >"$work/sim$n.out" 2>/dev/null &
    pids+=($!)
done
{
    echo "unit,address,channel,title"
    for n in 1 2 3 4; do
        until [ -s "$work/sim$n.out" ]; do sleep 0.1; done
        dev=$(head -n1 "$work/sim$n.out")
        for ch in 1 2 3 4 5 6 7 8; do
            echo "Unit$n,$([ "$ch" = 1 ] && echo "$dev"),$ch,Camera $n-$ch"
        done
    done
} >"$work/site.csv"
"$tool" site make "$work/site.csv" "$work/site" >/dev/null

dev1=$(sed -n 2p "$work/site.csv" | cut -d, -f2)
start=$(date +%s.%N)
"$tool" send "$work/site/Unit1.zvx" --port "$dev1" >/dev/null
one=$(echo "$(date +%s.%N) - $start" | bc)

start=$(date +%s.%N)
/usr/bin/time -f %M -o "$work/rss" "$tool" site send "$work/site.csv" "$work/site" >/dev/null
four=$(echo "$(date +%s.%N) - $start" | bc)

printf 'one unit (orvex send):       %6.2f s\n' "$one"
printf 'four units (orvex site send): %6.2f s\n' "$four"
printf 'ratio:                        %6.3f (goal < 1.1)\n' "$(echo "$four / $one" | bc -l)"
printf 'peak memory of site send:     %6d KiB\n' "$(cat "$work/rss")"
