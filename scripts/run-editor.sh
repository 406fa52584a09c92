#!/usr/bin/env bash
# Starts the editor from a build folder.
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

exec "$build/src/editor/orvex-editor" "$@"
