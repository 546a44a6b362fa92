#!/usr/bin/env bash
# Runs the test suite of one build folder. Tests that type into real X11 windows
# need a display, so the whole run happens inside its own Xvfb server.
set -euo pipefail
build=${1:-build}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$build" --output-on-failure -j 2 --timeout 300
