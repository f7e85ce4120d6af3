#!/bin/bash
# Runs the waiting benchmark under a private X server: the idle wait must stay under 5% of a
# core and the 16 ms frame waits must return within 1 ms of their mark (the median: a busy
# machine delays single frames).
#   bench_wait.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_bench_wait"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"
"$prog"
