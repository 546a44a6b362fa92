#!/usr/bin/env bash
# Installs the .deb into a fresh Debian root that holds nothing but the base system
# (mmdebstrap's minbase: the essential packages and apt), as a user of a new
# installation would, and starts the client there on an Xvfb display of this
# machine until its login window "岚讯接码平台" is up. So a library the package
# needs but does not depend on shows here, not on a user's machine.
#   sudo scripts/fresh-root-check.sh lanxun_6.6_amd64.deb [suite]
# The suite defaults to this system's, whose libraries the package was built against.
# Needs root, mmdebstrap, Xvfb and xwininfo (x11-utils), and Debian's mirror;
# takes a few minutes and about 600 MB of /tmp while it runs.
set -euo pipefail
deb=$(realpath "$1")
suite=${2:-$(. /etc/os-release && echo "$VERSION_CODENAME")}
mirror=${LANXUN_DEBIAN_MIRROR:-http://deb.debian.org/debian}
security=${LANXUN_DEBIAN_SECURITY:-http://deb.debian.org/debian-security}
title=岚讯接码平台

[ "$(id -u)" -eq 0 ] || { echo "fresh-root-check: run as root (chroot and mounts)" >&2; exit 1; }
for tool in mmdebstrap Xvfb xwininfo; do
    command -v "$tool" >/dev/null || { echo "fresh-root-check: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
root=$work/root
xvfb_pid=""
client_pid=""
cleanup() {
    [ -z "$client_pid" ] || kill "$client_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    local m mounted=""
    for m in tmp/.X11-unix dev/pts dev proc; do
        if mountpoint -q "$root/$m" 2>/dev/null; then
            umount -l "$root/$m" || true
        fi
        if mountpoint -q "$root/$m" 2>/dev/null; then
            mounted="$mounted $m"
        fi
    done
    # Never remove through a mount that is still there: it would reach /dev or /tmp.
    if [ -n "$mounted" ]; then
        echo "fresh-root-check: left $work, still mounted:$mounted" >&2
    else
        rm -rf --one-file-system "$work"
    fi
}
trap cleanup EXIT

echo "== a fresh $suite root (minbase)"
mmdebstrap --variant=minbase --quiet "$suite" "$root" \
    "deb $mirror $suite main" \
    "deb $mirror $suite-updates main" \
    "deb $security $suite-security main"

mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp "$deb" "$root/root/"

# mmdebstrap removes the package lists when it ends; an installed system has them.
echo "== apt-get update"
chroot "$root" apt-get update -q
echo "== apt-get install --no-install-recommends ./$(basename "$deb")"
chroot "$root" sh -c "cd /root && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends ./$(basename "$deb")"

# The display runs here; the root sees its socket, so nothing for X is installed there.
echo "== lanxun on Xvfb"
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp &
xvfb_pid=$!
read -r -u "$fd" display
exec {fd}<&-
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"

chroot "$root" env -i DISPLAY=":$display" HOME=/root LANG=C.UTF-8 PATH=/usr/bin:/bin \
    lanxun >"$work/client.log" 2>&1 &
client_pid=$!

# The client tries the update host and the platform first; both are unreachable
# here and fail fast, then the login window shows.
for _ in $(seq 120); do
    if xwininfo -display ":$display" -root -tree 2>/dev/null | grep -q "\"$title\""; then
        echo "fresh-root-check: the login window \"$title\" is up"
        xwininfo -display ":$display" -root -tree | grep "\"$title\""
        exit 0
    fi
    if ! kill -0 "$client_pid" 2>/dev/null; then
        echo "fresh-root-check: lanxun ended before its login window showed:" >&2
        cat "$work/client.log" >&2
        exit 1
    fi
    sleep 0.5
done
echo "fresh-root-check: no window \"$title\" within 60 s:" >&2
cat "$work/client.log" >&2
exit 1
