#!/bin/bash
# The fight's processor time under a private X server: the planning panel waiting for a click
# must stay under 1% of a core; a whole fight with its animations and music, and each of its
# busiest stretches (the fireball, the counters), under 10%.
#   bench_fight.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_fight_cpu"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"
"$prog"
