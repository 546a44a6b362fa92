#!/usr/bin/env bash
# Renders every window of the client under a real X server (Xvfb) into
# docs/screenshots/<name>.png.
#   scripts/screenshots.sh [build folder]      (default: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
out=$here/docs/screenshots

if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target lanxun-screenshots lanxun-records-screenshots -j 2

mkdir -p "$out"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tools/screenshots/lanxun-screenshots" "$out"

# The project features, against the local platform and a private template database.
cmake --build "$build" --target lanxun-project-screenshots -j 2
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tools/screenshots/lanxun-project-screenshots" "$out" "$here/scripts/template-db.sh"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tools/screenshots/lanxun-records-screenshots" "$out"
cmake --build "$build" --target lanxun-update-screenshot -j 2
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tools/screenshots/lanxun-update-screenshot" "$out"
cmake --build "$build" --target lanxun-disposal-screenshot -j 2
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tools/screenshots/lanxun-disposal-screenshot" "$out"
# The tab "取号" with three numbers polled to their codes.
cmake --build "$build" --target lanxun-numbers-screenshot -j 2
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tools/screenshots/lanxun-numbers-screenshot" "$out"
cmake --build "$build" --target lanxun-send-screenshot -j 2
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/tools/screenshots/lanxun-send-screenshot" "$out"
