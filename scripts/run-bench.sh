#!/usr/bin/env bash
# Runs every benchmark program of a bench build folder, offscreen.
set -euo pipefail
build=${1:-build-bench}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
found=0
while IFS= read -r -d '' program; do
    found=1
    echo "== $(basename "$program")"
    "$program" --benchmark_counters_tabular=true
done < <(find "$build/bench" -type f -executable -name 'bench_*' -print0 | sort -z)
[ "$found" = 1 ] || echo "no benchmark programs built in $build/bench"
