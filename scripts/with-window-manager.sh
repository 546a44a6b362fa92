#!/usr/bin/env bash
# Runs a command on the current X display with one window manager for the whole of
# it. Tests that run side by side then share that manager: one that a test started
# and ended again could take another test's window, still waiting to be mapped,
# with it.
set -uo pipefail
openbox --sm-disable &
manager=$!
for _ in $(seq 1 300); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
        break
    fi
    sleep 0.1
done
"$@"
status=$?
kill "$manager" 2>/dev/null
wait "$manager" 2>/dev/null
exit "$status"
