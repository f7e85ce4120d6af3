#!/bin/bash
# Runs the media start-up benchmark: a speech stream on a long mp3 is made at once, and the first
# MIDI song neither stalls a 16 ms frame loop nor reads a position before it began.
#   bench_media.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_bench_media"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"
"$prog" "$work"
