#!/bin/bash
# What the jump-and-run game costs under a private X server: the recorded way through the level
# with all twelve enemies, scrolling frame after frame up to the door. Fails when the game needs
# 10% of a core or more, or when the median frame comes more than 1 ms off its 20 ms mark (single
# late frames come from a busy machine's scheduler).
#   bench_jump.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_jump_play"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"
touch "$work/los"
out=$("$prog" "$work" bench 2>"$work/err.log") || { echo "the game did not run: $(cat "$work/err.log")"; exit 1; }
echo "$out"
pct=$(echo "$out" | sed -n 's/.* \([0-9.]*\)% of a core.*/\1/p')
median=$(echo "$out" | sed -n 's/.*lateness median \(-*[0-9.]*\) ms.*/\1/p')
awk -v p="$pct" 'BEGIN { exit !(p != "" && p < 10) }' || { echo "too much processor time"; exit 1; }
awk -v m="$median" 'BEGIN { exit !(m != "" && m <= 1 && m >= -1) }' || { echo "frames off their marks"; exit 1; }
