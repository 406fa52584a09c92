#!/usr/bin/env bash
# Runs every benchmark program of a bench build folder, offscreen; the
# start-up benchmark watches real windows, so it gets a virtual X display.
set -euo pipefail
build=${1:-build-bench}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
found=0
while IFS= read -r -d '' program; do
    found=1
    echo "== $(basename "$program")"
    if [ "$(basename "$program")" = bench_startup ]; then
        if [ -n "${DISPLAY:-}" ]; then
            "$program"
        else
            xvfb-run -a -s "-screen 0 1024x768x24" "$program"
        fi
    else
        "$program" --benchmark_counters_tabular=true
    fi
done < <(find "$build/bench" -type f -executable -name 'bench_*' -print0 | sort -z)
[ "$found" = 1 ] || echo "no benchmark programs built in $build/bench"
