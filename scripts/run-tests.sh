#!/usr/bin/env bash
# Runs the test suite of one build folder. Tests that type into real X11 windows
# need a display, so the whole run happens inside its own Xvfb server.
set -euo pipefail
build=${1:-build}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
# Qt wants a private runtime folder; a machine without a login session has none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$(dirname "$0")/with-window-manager.sh" ctest --test-dir "$build" --output-on-failure -j 2 --timeout 300
