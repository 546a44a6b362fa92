#!/usr/bin/env bash
# A private MariaDB server with the platform's SMS templates (database "ch", table
# xiangmu_liebiao), for the tests and the demo. It runs as the current user in a folder of its
# own, listens on loopback only, and is never a system service.
#
#   template-db.sh start DIR [PORT]   set up DIR afresh, start the server, load the demo
#                                     templates; without PORT on a free port. The port is
#                                     written to DIR/port.
#   template-db.sh stop DIR           stop the server started in DIR
#
# The client logs in as root with its password over TCP; root on the server's socket in DIR
# needs none, for setting up.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
command=${1:?start or stop}
dir=${2:?folder}
socket="$dir/mysqld.sock"

stop_server() {
    if [ -f "$dir/mysqld.pid" ]; then
        pid=$(cat "$dir/mysqld.pid")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 1 300); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
        rm -f "$dir/mysqld.pid"
    fi
}

# A loopback port nothing listens on now; the server's start tells whether it is still free.
free_port() {
    local port
    while :; do
        port=$((20000 + RANDOM % 40000))
        (: <"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return; }
    done
}

# Starts mariadbd on port $1 and waits until it answers; false when it ended or never answered.
run_server() {
    # mariadbd refuses to run as root unless told to, hence --user even for the current user.
    mariadbd --no-defaults --datadir="$dir/data" --user="$user" --tmpdir="$dir/tmp" \
        --bind-address=127.0.0.1 \
        --port="$1" --socket="$socket" --pid-file="$dir/mysqld.pid" --skip-name-resolve \
        --skip-log-bin --innodb-buffer-pool-size=16M --log-error="$dir/error.log" \
        >/dev/null 2>&1 &
    local server=$!
    for _ in $(seq 1 300); do
        mariadb-admin --no-defaults --socket="$socket" -u root ping >/dev/null 2>&1 && return 0
        kill -0 "$server" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

case "$command" in
start)
    user=$(id -un)
    # A server left running in DIR by an earlier run goes first; the folder starts afresh.
    stop_server
    rm -rf "$dir/data" "$dir/tmp" "$dir/port"
    # A temporary folder of its own: two servers set up at once collide in a shared /tmp.
    mkdir -p "$dir/data" "$dir/tmp"
    mariadb-install-db --no-defaults --datadir="$dir/data" --user="$user" --tmpdir="$dir/tmp" \
        --auth-root-authentication-method=normal --skip-test-db >"$dir/install.log" 2>&1 ||
        { cat "$dir/install.log"; exit 1; }
    started=
    if [ -n "${3:-}" ]; then
        port=$3
        run_server "$port" && started=1
    else
        # Another program may take the port between the look and the start: try again.
        for _ in 1 2 3 4 5; do
            port=$(free_port)
            run_server "$port" && { started=1; break; }
            stop_server
        done
    fi
    if [ -z "$started" ]; then
        cat "$dir/error.log" 2>/dev/null
        echo "The template database did not start." >&2
        exit 1
    fi
    mariadb --no-defaults --socket="$socket" -u root <"$here/template-db.sql"
    echo "$port" >"$dir/port"
    echo ready
    ;;
stop)
    stop_server
    rm -f "$dir/port"
    ;;
*)
    echo "usage: $0 start DIR [PORT] | stop DIR" >&2
    exit 2
    ;;
esac
