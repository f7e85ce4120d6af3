#!/bin/bash
# Loads each hostile picture in a process of its own and checks that none is decoded and that
# each load stays under 100 MB of peak memory.
#   bench_pictures.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_bench_pictures"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy DISPLAY= "$prog" 2>/dev/null
