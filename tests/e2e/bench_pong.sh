#!/usr/bin/env bash
# The processor time of table tennis under a private X server: the test room starts a match, a
# player returns the ball with the keys, and the game's process (and the X server's) is measured
# over ten seconds of rallies, then over five seconds of pause (when nothing on the court moves).
# Fails when the rallies need 10% of a core or more.
#   bench_pong.sh BUILD_DIR
set -u
build=$(cd "${1:?build folder}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib/xvfb.sh
source "$here/lib/xvfb.sh"
app=""
trap '[ -n "$app" ] && kill -9 "$app" 2>/dev/null; xvfb_cleanup' EXIT

cpu() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }  # clock ticks used so far

(cd /tmp && exec "$build/norvalde" PongTest.lsd) >"$work/app.log" 2>&1 &
app=$!
pong=""
for _ in $(seq 150); do
  pong=$(xdotool search --onlyvisible --name "Du hast keine Chance" 2>/dev/null | head -n1)
  [ -n "$pong" ] && break
  sleep 0.1
done
[ -n "$pong" ] || { echo "no Pong window: $(cat "$work/app.log")"; exit 1; }
python3 "$here/lib/pong_spieler.py" "$pong" flies 10 || exit 1

hz=$(getconf CLK_TCK)
g0=$(cpu "$app")
x0=$(cpu "$xpid")
t0=$(date +%s.%N)
python3 "$here/lib/pong_spieler.py" "$pong" play 10 >"$work/spieler.txt"
g1=$(cpu "$app")
x1=$(cpu "$xpid")
t1=$(date +%s.%N)
kill -0 "$app" 2>/dev/null || { echo "the game ended: $(cat "$work/app.log")"; exit 1; }
anteil() {  # ticks of the game, of the X server, seconds -> percentages of one core
  awk -v g="$1" -v x="$2" -v hz="$hz" -v s="$3" 'BEGIN { printf "%.1f %.1f\n", 100 * g / hz / s, 100 * x / hz / s }'
}
read -r game xserver < <(anteil "$((g1 - g0))" "$((x1 - x0))" "$(echo "$t1 - $t0" | bc)")
echo "rallies: game ${game}% of one core, X server ${xserver}% ($(cat "$work/spieler.txt"))"

python3 "$here/lib/pong_spieler.py" "$pong" flies 10 || exit 1
xdotool keydown p
sleep 0.1
xdotool keyup p
sleep 0.5
g0=$(cpu "$app")
x0=$(cpu "$xpid")
sleep 5
read -r pgame pxserver < <(anteil "$(($(cpu "$app") - g0))" "$(($(cpu "$xpid") - x0))" 5)
echo "paused: game ${pgame}% of one core, X server ${pxserver}% ($(xdotool getwindowname "$pong"))"
awk -v p="$game" 'BEGIN { exit !(p < 10) }' || { echo "the game takes too much processor time"; exit 1; }
