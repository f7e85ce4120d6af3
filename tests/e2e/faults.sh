#!/usr/bin/env bash
# Faults a player can run into, on the real program: no display at all (or a dead one), a room
# whose start script loops without ever waiting, a room name of thousands of characters in the
# message box, the game killed while that box is up. FAULTS_SHOTS=folder keeps the screenshots.
#   faults.sh BUILD_DIR
set -u
BUILD=$(cd "${1:?build folder}" && pwd)
PROG="$BUILD/norvalde"
[ -x "$PROG" ] || { echo "no game program built: nothing to check"; exit 0; }
. "$(dirname "$0")/lib/xvfb.sh"
. "$(dirname "$0")/lib/scene_window.sh"
CLOSE="$(dirname "$0")/lib/close_window.py"
fail() { echo "FAIL: $*"; exit 1; }

# The game's processes started from $1 (the restart after closing starts a new one).
pids_of() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/exe" 2>/dev/null)" = "$1" ] && echo "${p#/proc/}"
  done
}
game=""
end_game() {
  local p
  [ -n "$game" ] && for p in $(pids_of "$game/norvalde"); do kill -KILL "$p" 2>/dev/null; done
  xvfb_cleanup
}
trap end_game EXIT

# ---- No display: a clear message and a failure code at once, never an unseen game ----------
dead=200
while [ -e "/tmp/.X11-unix/X$dead" ]; do dead=$((dead + 1)); done
for how in unset dead; do
  if [ $how = unset ]; then
    env -u SDL_VIDEODRIVER -u WAYLAND_DISPLAY -u DISPLAY SDL_AUDIODRIVER=dummy timeout 20 "$PROG" >"$work/nd.log" 2>&1
  else
    env -u SDL_VIDEODRIVER -u WAYLAND_DISPLAY DISPLAY=":$dead" SDL_AUDIODRIVER=dummy timeout 20 "$PROG" >"$work/nd.log" 2>&1
  fi
  rc=$?
  [ $rc -eq 124 ] && fail "DISPLAY $how: the game ran on where nobody can see it"
  [ $rc -ne 0 ] || fail "DISPLAY $how: exit code 0"
  grep -q "no display" "$work/nd.log" || fail "DISPLAY $how: no message: $(cat "$work/nd.log")"
  echo "DISPLAY $how: exit code $rc, $(grep 'no display' "$work/nd.log")"
done

# A copy of the game with rooms of its own (content is found beside the program).
game="$work/game"
mkdir -p "$game/rooms"
cp "$PROG" "$game/norvalde"
printf '"",1,29,"A",28,"A",-1,-1\r\n' >"$game/rooms/Schleife.lsd"

window_of() {  # pid: its first window (none when it has none yet)
  xdotool search --pid "$1" 2>/dev/null | head -1
}

# ---- A start script that loops without waiting: the window still closes -------------------
(cd "$work" && exec "$game/norvalde" Schleife.lsd) >"$work/loop.log" 2>&1 &
app=$!
win=$(scene_window $app)
kill -0 $app 2>/dev/null || fail "the looping game ended by itself: $(cat "$work/loop.log")"
[ -n "$win" ] || fail "no scene window while the script loops"
sleep 1
cpu=$(awk '{ print $14 + $15 }' "/proc/$app/stat")
[ "$cpu" -gt 20 ] || fail "the loop does not seem to run ($cpu ticks)"
python3 "$CLOSE" "$win"
for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
kill -0 $app 2>/dev/null && fail "closing the window did not end the looping game"
wait $app 2>/dev/null
echo "a looping start script ($cpu CPU ticks in its first second) ended when its window was closed"
for p in $(pids_of "$game/norvalde"); do kill -KILL "$p"; done  # the menu the shutdown started

# ---- A room name of 5000 characters: the message box shows, narrow and readable ------------
name=$(head -c 5000 /dev/zero | tr '\0' 'A').lsd
# Starts the game on that room ($1: its log) and waits for the message box: sets app and box.
start_under_box() {
  (cd "$work" && exec "$game/norvalde" "$name") >"$1" 2>&1 &
  app=$!
  box=""
  for _ in $(seq 300); do
    box=$(xwininfo -root -tree | awk '/"Norvalde"/ && !w { w = $1 } END { print w }')
    [ -n "$box" ] && return
    kill -0 $app 2>/dev/null || fail "the game ended without a message: $(cat "$1")"
    sleep 0.1
  done
  fail "no message box for the long room name: $(cat "$1")"
}
start_under_box "$work/name.log"
sleep 0.5
width=$(xwininfo -id "$box" | awk '/Width:/ { print $2 }')
height=$(xwininfo -id "$box" | awk '/Height:/ { print $2 }')
import -window "$box" "$work/box.png"
[ -n "${FAULTS_SHOTS:-}" ] && mkdir -p "$FAULTS_SHOTS" && cp "$work/box.png" "$FAULTS_SHOTS/long_name_box.png"
[ "$width" -le 800 ] || fail "the box is $width pixels wide"
xdotool windowfocus "$box" 2>/dev/null
xdotool key --window "$box" Return
for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
kill -0 $app 2>/dev/null && fail "the game did not end after the message"
wait $app 2>/dev/null
grep -qi "segmentation\|X Error" "$work/name.log" && fail "$(cat "$work/name.log")"
echo "a room name of 5000 characters shows in a box of $width x $height pixels"

# ---- Killed while a message box is up: the box goes with the game ------------------------
alive() {  # pid: running, not a zombie waiting for its reaper
  local s
  s=$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null)
  [ -n "$s" ] && [ "$s" != Z ]
}
children_of() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(awk '{ print $4 }' "$p/stat" 2>/dev/null)" = "$1" ] && echo "${p#/proc/}"
  done
}
start_under_box "$work/kill.log"
sleep 0.3
helpers=$(children_of $app)
{ kill -KILL $app && wait $app; } 2>/dev/null  # without the shell's report of the killed job
left=""
for _ in $(seq 50); do
  left=""
  for h in $helpers; do alive "$h" && left="$left $h"; done
  [ -z "$left" ] && ! xwininfo -id "$box" >/dev/null 2>&1 && break
  sleep 0.1
done
[ -z "$left" ] || fail "the message box's helper process ($left) outlived the killed game"
xwininfo -id "$box" >/dev/null 2>&1 && fail "the message box stayed on screen after the game was killed"
echo "killed under its message box, the game took the box and its $(echo $helpers | wc -w) helper process(es) along"
echo "PASS"
