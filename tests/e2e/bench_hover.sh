#!/bin/bash
# Hovering over the sample start room under a private X server: the game's processor time while
# the mouse rests, then while it moves 50 times a second across the sky, the well (an animated
# cursor), the signpost, the tree and the door. Fails when hovering takes 3% of a core or more.
#   bench_hover.sh BUILD_DIR
set -u
build=$(cd "${1:?build folder}" && pwd)
prog="$build/norvalde"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"
. "$(dirname "$0")/lib/scene_window.sh"

(cd /tmp && exec "$prog" Start.lsd) >"$work/app.log" 2>&1 &
child=$!
wid=$(scene_window "$child")
[ -n "$wid" ] || { echo "no scene window: $(cat "$work/app.log")"; exit 1; }
sleep 1
xdotool windowfocus "$wid"
# A start text waits for a key (held as a player holds it).
xdotool keydown Return; sleep 0.15; xdotool keyup Return
xdotool mousemove --window "$wid" 300 40
sleep 2

ticks() { awk '{ print $14 + $15 }' "/proc/$child/stat"; }
now() { date +%s.%N; }
hz=$(getconf CLK_TCK)
percent() { awk -v t="$1" -v hz="$hz" -v s="$2" 'BEGIN { printf "%.2f", 100 * t / hz / s }'; }

t0=$(ticks); s0=$(now)
sleep 5
t1=$(ticks); s1=$(now)
ruhe=$(percent $((t1 - t0)) "$(awk -v a="$s0" -v b="$s1" 'BEGIN { print b - a }')")

# 500 moves, 20 ms apart, back and forth along a path over the room's hotspots.
path=()
for i in $(seq 0 499); do
  k=$((i % 100)); [ $k -ge 50 ] && k=$((99 - k))
  x=$((40 + k * 11)); y=$((60 + (k * 37) % 360))
  path+=(mousemove --window "$wid" "$x" "$y" sleep 0.02)
done
t2=$(ticks); s2=$(now)
xdotool "${path[@]}"
t3=$(ticks); s3=$(now)
secs=$(awk -v a="$s2" -v b="$s3" 'BEGIN { print b - a }')
hover=$(percent $((t3 - t2)) "$secs")
kill -0 "$child" 2>/dev/null || { echo "the game ended: $(cat "$work/app.log")"; exit 1; }
echo "resting: ${ruhe}% of one core; hovering (500 moves over ${secs} s): ${hover}% of one core"
awk -v p="$hover" 'BEGIN { exit !(p < 3) }' || { echo "hovering takes too much processor time"; exit 1; }
echo PASS
