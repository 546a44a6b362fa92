#!/usr/bin/env bash
# The demo: the local platform on the client's own ports, and the client against it.
set -euo pipefail
build=${1:-build}
sim="$build/tools/platform-sim/lanxun-platform-sim"
client="$build/src/lanxun"

if [ "$(id -u)" -ne 0 ] && ! getcap "$sim" 2>/dev/null | grep -q cap_net_bind_service; then
    echo "The local platform listens on the client's own ports (81 to 130 among them), which"
    echo "needs root or, once: sudo setcap cap_net_bind_service=+ep $sim"
    exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: run 'make run' from a desktop session."
    exit 1
fi

log=$(mktemp)
"$sim" --client-ports >"$log" 2>&1 &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null; rm -f "$log"' EXIT

for _ in $(seq 1 100); do
    grep -q '^ready' "$log" && break
    if ! kill -0 $sim_pid 2>/dev/null; then
        cat "$log"
        exit 1
    fi
    sleep 0.1
done
grep -q '^ready' "$log" || { cat "$log"; echo "The local platform did not start."; exit 1; }

# The platform's template database, private to this run, where the build looks for it.
db_host=$(sed -n 's/^LANXUN_DB_HOST:STRING=//p' "$build/CMakeCache.txt")
db_port=3306
[ "${db_host##*:}" != "$db_host" ] && db_port=${db_host##*:}
case "${db_host%:*}" in
127.0.0.1 | localhost)
    db_dir=$(mktemp -d)
    trap 'kill $sim_pid 2>/dev/null; rm -f "$log"; bash scripts/template-db.sh stop "$db_dir"; rm -rf "$db_dir"' EXIT
    bash scripts/template-db.sh start "$db_dir" "$db_port" >/dev/null ||
        echo "The template database did not start; the project information stays empty."
    ;;
esac

echo "Local platform ready. Log in as demo2026 with the password lanxun666."
"$client"
