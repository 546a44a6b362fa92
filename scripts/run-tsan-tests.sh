#!/usr/bin/env bash
# Runs the test programs that drive background workers in a ThreadSanitizer
# build folder. The first race report ends its test program, so it fails the run.
set -euo pipefail
build=${1:-build-tsan}
here=$(cd "$(dirname "$0")/.." && pwd)
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$here/tests/tsan.supp}
# Qt wants a private runtime folder; a machine without a login session has none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
# Only the programs that were built take part: the others are listed as *_NOT_BUILT.
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$build" --output-on-failure -j 2 --timeout 300 -E '_NOT_BUILT$'
