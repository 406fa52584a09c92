#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for FUZZ_SECONDS each (default 60),
# starting from the committed seeds, and fails on the first crash, leak,
# time-out or memory overrun. Inputs that fail are kept under
# BUILD/fuzz-artifacts; new coverage under BUILD/fuzz-corpus, so the seeds
# in the tree stay as committed.
set -euo pipefail

build=${1:?usage: run-fuzz.sh BUILD_DIR [TARGET...]}
shift
seconds=${FUZZ_SECONDS:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_reader fuzz_roundtrip fuzz_link_receive fuzz_sim_frames fuzz_netserial)

# The reader's bound is 64 KiB a field whatever the input; a full data
# file is about 200 KB, so inputs may be that large.
declare -A seeddir=([fuzz_reader]=zvx [fuzz_roundtrip]=zvx [fuzz_link_receive]=link_receive [fuzz_sim_frames]=sim_frames
    [fuzz_netserial]=netserial)
# ASan's quarantine of freed memory (256 MB) and the corpus held in memory
# grow every target's resident set to 450-500 MB over a long run; no single
# allocation may pass 256 MB. A server's stream must be able to go past
# the telnet codec's 4 KiB bound.
declare -A maxlen=([fuzz_reader]=300000 [fuzz_roundtrip]=300000 [fuzz_link_receive]=4096 [fuzz_sim_frames]=8192
    [fuzz_netserial]=16384)

status=0
for target in "${targets[@]}"; do
    corpus="$build/fuzz-corpus/$target"
    artifacts="$build/fuzz-artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    seeds="$root/fuzz/corpus/${seeddir[$target]}"
    echo "== $target for ${seconds}s"
    if ! ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=1024 -malloc_limit_mb=256 \
        -timeout=20 -max_len="${maxlen[$target]}" -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" "$seeds" 2>"$build/fuzz-$target.log"; then
        echo "$target FAILED; log: $build/fuzz-$target.log, inputs: $artifacts" >&2
        tail -40 "$build/fuzz-$target.log" >&2
        status=1
    else
        grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^Done' "$build/fuzz-$target.log" || true
    fi
done
exit $status
