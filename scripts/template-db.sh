#!/usr/bin/env bash
# A private MariaDB server with the platform's SMS templates (database "ch", table
# xiangmu_liebiao), for the tests and the demo. It runs as the current user in a folder of its
# own, listens on loopback only, and is never a system service.
#
#   template-db.sh start DIR PORT   set up DIR, start the server, load the demo templates
#   template-db.sh stop DIR         stop the server started in DIR
#
# The client logs in as root with its password over TCP; root on the server's socket in DIR
# needs none, for setting up.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
command=${1:?start or stop}
dir=${2:?folder}
socket="$dir/mysqld.sock"

case "$command" in
start)
    port=${3:?port}
    user=$(id -un)
    # A temporary folder of its own: two servers set up at once collide in a shared /tmp.
    mkdir -p "$dir/data" "$dir/tmp"
    mariadb-install-db --no-defaults --datadir="$dir/data" --user="$user" --tmpdir="$dir/tmp" \
        --auth-root-authentication-method=normal --skip-test-db >"$dir/install.log" 2>&1 ||
        { cat "$dir/install.log"; exit 1; }
    # mariadbd refuses to run as root unless told to, hence --user even for the current user.
    mariadbd --no-defaults --datadir="$dir/data" --user="$user" --tmpdir="$dir/tmp" \
        --bind-address=127.0.0.1 \
        --port="$port" --socket="$socket" --pid-file="$dir/mysqld.pid" --skip-name-resolve \
        --skip-log-bin --innodb-buffer-pool-size=16M --log-error="$dir/error.log" \
        >/dev/null 2>&1 &
    for _ in $(seq 1 300); do
        mariadb-admin --no-defaults --socket="$socket" -u root ping >/dev/null 2>&1 && break
        sleep 0.1
    done
    if ! mariadb-admin --no-defaults --socket="$socket" -u root ping >/dev/null 2>&1; then
        cat "$dir/error.log" 2>/dev/null
        echo "The template database did not start." >&2
        exit 1
    fi
    mariadb --no-defaults --socket="$socket" -u root <"$here/template-db.sql"
    echo ready
    ;;
stop)
    if [ -f "$dir/mysqld.pid" ]; then
        pid=$(cat "$dir/mysqld.pid")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 1 300); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
    fi
    ;;
*)
    echo "usage: $0 start DIR PORT | stop DIR" >&2
    exit 2
    ;;
esac
