#!/bin/bash
# Runs the surface benchmark: every full-scene copy on average under a millisecond.
#   bench_surface.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_bench_surface"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
"$prog"
