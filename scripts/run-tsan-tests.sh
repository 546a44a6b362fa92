#!/usr/bin/env bash
# Runs the test programs that drive background workers in a ThreadSanitizer
# build folder. The first race report ends its test program, so it fails the run.
set -euo pipefail
build=${1:-build-tsan}
here=$(cd "$(dirname "$0")/.." && pwd)
# Qt and libstdc++ are not built with ThreadSanitizer: their own accesses (inside
# the memory and string functions they call) are not checked, ours always are.
# The forwarding and update tests start helper processes from a threaded parent,
# which exec at once.
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1:die_after_fork=0:suppressions=$here/tests/tsan.supp}
# Qt wants a private runtime folder; a machine without a login session has none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
# Left out, each for a reason of ThreadSanitizer's rather than ours (the normal
# and ASan runs keep them):
# - the tests of a process that ends at once: the tool's own hook at _exit flushes
#   stdio and reports the threads the process leaves unjoined on purpose;
# - the update's start of the new program: the tool's fork from a process with
#   many threads now and then hangs the child before its exec.
left_out='OwnProcessChild\.EndsAtOnce|UpdateEndToEndTest\.|UpdateWindowTest\.(WholeArchive|ProgramThatCannotStart)'
# ctest runs each test in a process of its own. That matters here: Qt may start other
# programs with vfork semantics, whose child shares the parent's memory until its exec, and the
# tool's bookkeeping in that child can leave the parent's picture of a lock wrong
# for later tests in the same process.
# Only the programs that were built take part: the others are listed as *_NOT_BUILT.
exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$(dirname "$0")/with-window-manager.sh" ctest --test-dir "$build" --output-on-failure -j 2 --timeout 300 -E "_NOT_BUILT\$|$left_out"
