#!/bin/bash
# Runs the flying-heads frame-loop benchmark under a private X server: the loop with all heads
# and particles must stay under 10% of a core, its median frame within 1 ms of 20 ms. Also
# reports what the X server itself spent meanwhile.
#   bench_heads.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_bench_heads"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"
. "$(dirname "$0")/lib/bench.sh"
bench_mit_xserver "$prog" 15
