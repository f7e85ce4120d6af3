#!/usr/bin/env bash
# The table tennis game under a private X server, as a player meets it: the test room starts a
# match, the ball drops and bounces for the serve, the player's paddle follows Up and Down, "p"
# pauses and "o" resumes, a whole match is played with the keys to its end animation, "Neues
# Spiel" starts again, the close box returns to the room, whose table starts another match, and
# "Ende" ends the program outright.
# Usage: pong.sh <build folder>. Screenshots land in <build folder>/e2e_pong/.
set -u
build=$(cd "$1" && pwd)
out="$build/e2e_pong"
mkdir -p "$out"
rm -f "$out"/*.png
convert=convert-im6.q16
here=$(cd "$(dirname "$0")" && pwd)

fail() { echo "FAIL: $*" >&2; exit 1; }

# shellcheck source=lib/xvfb.sh
source "$here/lib/xvfb.sh"
# shellcheck source=lib/programs.sh
source "$here/lib/programs.sh"

title() { xdotool getwindowname "$1" 2>/dev/null; }
wait_title() {  # window, pattern, tenths of a second
  for _ in $(seq "$3"); do title "$1" | grep -q -- "$2" && return 0; sleep 0.1; done
  return 1
}
shot() { import -window "$1" "$out/$2.png"; }
# count of pixels in a region that meet a condition on their colour
count() {  # shot, geometry, fx condition
  $convert "$out/$1.png" -crop "$2" +repage -fx "$3 ? 1 : 0" -format "%[fx:round(mean*w*h)]" info:
}

(cd /tmp && exec "$build/norvalde" PongTest.lsd) >"$out/app.log" 2>&1 &
app=$!
pids+=("$app")
pong=$(wait_window "Du hast keine Chance") || fail "no Pong window: $(cat "$out/app.log")"
xdotool windowfocus "$pong" 2>/dev/null
read -r w h < <(xdotool getwindowgeometry "$pong" | awk '/Geometry/ { split($2, a, "x"); print a[1], a[2] }')
[ "$w $h" = "640 480" ] || fail "the Pong window is $w x $h, not 640 x 480"

spieler() { python3 "$here/lib/pong_spieler.py" "$pong" "$@"; }

# The serve: the ball falls at the computer's side while the paddles wait at the middle.
aufschlag=$(spieler serve) || fail "no falling ball at the serving side"
shot "$pong" 1_aufschlag
read -r bx by py <<<"$aufschlag"
echo "serve: the ball at ($bx, $by), the player's paddle centre at $py"
awk -v p="$py" 'BEGIN { exit !(p > 190 && p < 240) }' || fail "the player's paddle is not at the middle ($py)"

# The rally: as soon as the ball flies, Down moves the paddle down, the longer the faster, and
# Up moves it back up.
halte() {  # key, seconds, screenshot name, minimum move (signed): holds the key, checks the move
  local vorher nachher
  read -r vorher nachher < <(spieler hold "$1" "$2")
  shot "$pong" "$3"
  echo "paddle centre $vorher before, $nachher after holding $1 for $2 s"
  awk -v a="$vorher" -v b="$nachher" -v m="$4" 'BEGIN { exit !(m > 0 ? b > a + m : b < a + m) }'
}
halte Down 0.5 2_runter 40 || fail "Down did not move the paddle down"
halte Up 0.3 3_hoch -20 || fail "Up did not move the paddle up"

# "p" pauses the rally (the caption says how to go on), "o" resumes it. Keys are read once a
# rally tick, so each is held as long as a finger would.
press() { xdotool keydown "$1" sleep 0.1 keyup "$1"; }
spieler flies 10 || fail "the ball did not fly for the pause"
press p
wait_title "$pong" "!Pause!" 30 || fail "no pause caption: $(title "$pong")"
shot "$pong" 4_pause_a
sleep 0.5
shot "$pong" 4_pause_b
cmp -s <($convert "$out/4_pause_a.png" -crop 640x440+0+0 +repage rgb:-) \
  <($convert "$out/4_pause_b.png" -crop 640x440+0+0 +repage rgb:-) || fail "the court moved while paused"
press o
wait_title "$pong" "^Du hast keine Chance!!!   'p'=Pause" 30 || fail "no resume: $(title "$pong")"

# A whole match with the keys: the player runs into the ball with a key held, which puts spin
# on it, for half a minute, and then lets the computer take the points until the match ends.
spieler play 150 30 | tee "$out/spieler.txt"
grep -q "Freu\|schlecht" "$out/spieler.txt" || fail "the match did not end: $(title "$pong")"
grep -q "returns [1-9]" "$out/spieler.txt" || fail "the player's paddle never returned the ball"
# The winner's picture spins: wait for a moment when it is turned toward the player.
for _ in $(seq 30); do
  shot "$pong" 5_ende
  [ "$(count 5_ende 640x440+0+0 'r > 0.4 || g > 0.4')" -gt 4000 ] && break
  sleep 0.1
done
[ "$(count 5_ende 640x440+0+0 'r > 0.4 || g > 0.4')" -gt 4000 ] || fail "no end picture on the court"
echo "end of the match: $(title "$pong")"

# "Neues Spiel" with the mouse (the pointer is invisible over the window, the click is not).
xdotool mousemove --window "$pong" 40 468 click 1
wait_title "$pong" "^ Du hast keine Chance" 30 || fail "Neues Spiel did not start a match: $(title "$pong")"
sleep 0.3
shot "$pong" 6_neu
[ "$(count 6_neu 560x440+40+0 'r > 0.4 || g > 0.4')" -lt 300 ] || fail "the court was not cleared for the new match"

# The close box hands back to the room (a text the room's script may show about the outcome is
# clicked away).
# Once in many runs the first request went unanswered, for reasons not yet seen; a player clicks
# again, and so does this check, but it says so with what the game was doing (its threads, and
# their stacks where gdb is at hand) so that the next time shows why. A game that ignores both
# requests fails.
for versuch in 1 2; do
  python3 "$here/lib/close_window.py" "$pong" || echo "NOTE: the close request was not sent ($?)"
  for _ in $(seq 50); do xdotool search --onlyvisible --name "Chance" >/dev/null 2>&1 || break; sleep 0.1; done
  xdotool search --onlyvisible --name "Chance" >/dev/null 2>&1 || break
  if [ "$versuch" = 1 ]; then
    echo "NOTE: the first close request did not close the game within 5 s; its threads:"
    ps -L -o tid,stat,wchan:32,comm -p "$app"
    xwininfo -id "$pong" | grep 'Map State'
    if command -v gdb >/dev/null; then
      timeout 60 gdb -p "$app" -batch -ex 'thread apply all bt' >"$out/threads.txt" 2>&1
      echo "their stacks: $out/threads.txt"
    fi
  fi
done
xdotool search --onlyvisible --name "Chance" >/dev/null 2>&1 && fail "the close box did not close the game"
alive "$app" || fail "closing the game ended the program"
# shellcheck source=lib/scene_window.sh
source "$here/lib/scene_window.sh"
scene=$(scene_window "$app")
[ -n "$scene" ] || fail "no scene window after the game"
$convert "$build/graphics/pongraum.jpg" "$out/raum.png"
zurueck_im_raum() {
  shot "$scene" 7_raum
  d=$(compare-im6.q16 -metric RMSE "$out/7_raum.png" "$out/raum.png" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/')
  awk -v d="$d" 'BEGIN { exit !(d < 0.05) }'
}
for _ in $(seq 20); do
  zurueck_im_raum && break
  xdotool mousemove --window "$scene" 20 20 click 1
  sleep 0.25
done
zurueck_im_raum || fail "the scene does not show the room after the game (rmse $d)"
echo "closed: back in the room (rmse $d against its picture)"

# The table starts another match; its "Ende" ends the whole program at once, and nothing starts
# again.
xdotool mousemove --window "$scene" 200 350 click 1
pong=$(wait_window "Du hast keine Chance") || fail "the table did not start a match"
sleep 0.5
shot "$pong" 8_vom_tisch
xdotool mousemove --window "$pong" 120 468 click 1
for _ in $(seq 50); do alive "$app" || break; sleep 0.1; done
alive "$app" && fail "Ende did not end the program"
wait "$app"
rc=$?
sleep 1
# Only this check's X server counts: other checks run the same program side by side.
exe=$(readlink -f "$build/norvalde")
for p in $(display_pids); do
  [ "$(readlink -f "/proc/$p/exe" 2>/dev/null)" = "$exe" ] && fail "something started the program again ($p)"
done
echo "Ende: the program ended with status $rc"
echo "PASS (screenshots in $out)"
