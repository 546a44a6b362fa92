#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time each, starting from
# its seed corpus in fuzz/corpus/<target>. The seeds are copied to a scratch
# corpus in the build folder, so what a run finds stays out of the repository.
# A crash, a leak, a time-out or too much memory fails the run; its input is
# kept as build-fuzz/findings/<target>/crash-*.
#   fuzz/run-fuzzers.sh [build-fuzz] [seconds per target] [targets...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build-fuzz}
seconds=${2:-60}
shift 2 2>/dev/null || shift $#
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for seeds in "$here"/corpus/*/; do
        targets+=("$(basename "$seeds")")
    done
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
for target in "${targets[@]}"; do
    program="$build/fuzz/$target"
    if [ ! -x "$program" ]; then
        echo "fuzz: no program $program" >&2
        failed+=("$target")
        continue
    fi
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    cp -n "$here/corpus/$target"/* "$corpus"/ 2>/dev/null || true
    log="$build/findings/$target.log"
    echo "fuzz: $target for ${seconds}s"
    if "$program" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1; then
        grep -E "^stat::number_of_executed_units" "$log" | sed "s/^/fuzz: $target /"
    else
        echo "fuzz: $target FAILED, see $log" >&2
        tail -n 40 "$log" >&2
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz: failed: ${failed[*]}" >&2
    exit 1
fi
