#!/bin/bash
# Runs the room-entry benchmark: a room file with 50 hotspots read, its picture decoded and drawn,
# up to the first instruction of its start script, in a median under 5 ms.
#   bench_room.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_bench_room"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy DISPLAY= "$prog" "$work"
