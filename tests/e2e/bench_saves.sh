#!/bin/bash
# Writing a save and reading one back into the game must each take under 50 ms (the median).
#   bench_saves.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_bench_saves"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy DISPLAY= "$prog" "$build" 2>/dev/null
