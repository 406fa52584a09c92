#!/usr/bin/env bash
# Starts the editor from a build folder. Unless ORVEX_COM1 already names a
# port, a simulated title generator is started on a pseudo-terminal and
# attached as Com1, so the whole job can be tried without hardware.
set -euo pipefail
build=${1:-build}
shift || true

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
    cat >&2 <<TXT
There is no display to show the editor window on (DISPLAY is not set).
Run it on a desktop session, or under a virtual X server:
    xvfb-run -a -s "-screen 0 1024x768x24" make run
TXT
    exit 1
fi

editor="$build/src/editor/orvex-editor"
sim="$build/src/sim/orvex-sim"
sim_pid=

cleanup() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT INT TERM

if [ -z "${ORVEX_COM1:-}" ] && [ -x "$sim" ]; then
    snapshots="$(cd "$build" && pwd)/sim-snapshots"
    link="$(cd "$build" && pwd)/orvex-com1"
    log="$build/orvex-sim.log"
    mkdir -p "$snapshots"
    rm -f "$link"
    "$sim" --link "$link" --snapshot "$snapshots" --state "$snapshots/state.json" >"$log" 2>&1 &
    sim_pid=$!
    for _ in $(seq 50); do
        [ -e "$link" ] && break
        sleep 0.1
    done
    if [ -e "$link" ]; then
        export ORVEX_COM1="$link"
        echo "Simulated title generator attached as Com1 ($(head -n 1 "$log"))."
        echo "Its monitor pictures appear in $snapshots after each write."
        echo "To use a real unit instead: ORVEX_COM1=/dev/ttyUSB0 make run"
    else
        echo "The device simulator did not start (see $log); Com1 is /dev/ttyS0." >&2
        cleanup
        sim_pid=
    fi
fi

"$editor" "$@"
