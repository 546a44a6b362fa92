#!/usr/bin/env bash
# Runs the soak of one build folder inside its own Xvfb server (it types into a real window).
# Further arguments go to the soak: --quick, --hours=N, --factor=N.
set -euo pipefail
build=${1:-build}
shift || true
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bench/bench_soak" "$@"
