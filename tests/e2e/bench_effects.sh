#!/bin/bash
# Runs the effects benchmark under a private X server: zooms, fades, shake and the credits roll
# must each stay under 15% of a core, their median frame within 1 ms of 16 ms. Also reports what
# the X server itself spent meanwhile.
#   bench_effects.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_bench_effects"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"
. "$(dirname "$0")/lib/bench.sh"
bench_mit_xserver "$prog" 5
