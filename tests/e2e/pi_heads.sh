#!/bin/bash
# The pi typing game and the flying-heads game under a real X server, each started by its room's
# script from the command line and played through the X server's keyboard and mouse: pi typed up
# to its 41st character and then left to run out of time (a win), every head hit, the winning
# trail ended by a click. Screenshots stay in $KEEP when it is set.
#   pi_heads.sh BUILD_DIR
set -u
build=$(cd "${1:?build folder}" && pwd)
prog="$build/e2e_minigame_player"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
IM=convert-im6.q16
. "$(dirname "$0")/lib/xvfb.sh"
out="$work"
fail() { echo "FAIL: $*"; [ -n "${KEEP:-}" ] && cp "$out"/*.png "$out"/*.txt "$KEEP"/ 2>/dev/null; exit 1; }

# Waits up to $2 seconds for a line matching $1 in the player's report; prints it.
warte() {
  local n=$(( ${2:-20} * 20 )) z=""
  for _ in $(seq "$n"); do
    z=$(grep -m1 -- "$1" "$out/bericht.txt" 2>/dev/null || true)
    [ -n "$z" ] && { echo "$z"; return 0; }
    kill -0 "$child" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}
ms() { echo "$1" | awk '{ print $1 }'; }
# Pixels of the colour (hex RRGGBB) in the game window of a screenshot, exactly or within a
# given distance in percent.
zaehle() {  # shot colour [fuzz]
  $IM "$out/$1.png" -crop "${gw}x${gh}+${gx}+${gy}" +repage -fuzz "${3:-0}%" -fill white -opaque "#$2" \
    -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:
}
foto() { import -window root "$out/$1.png"; }
spiele() {  # room game args...
  : >"$out/bericht.txt"
  (cd /tmp && exec "$prog" "$@") >"$out/bericht.txt" 2>"$out/fehler.txt" &
  child=$!
  local offen
  offen=$(warte OFFEN 30) || fail "no game window from $1: $(cat "$out/fehler.txt")"
  read -r _ _ gx gy gw gh <<<"$offen"
  # The client area on the screen: a window manager's frame sits around it.
  read -r gx gy <<<"$(xwininfo -root -tree | awk -v g=" ${gw}x${gh}+" \
    '/: \("/ && index($0, g) && !p { split($NF, a, "+"); p = a[2] " " a[3] } END { print p }')"
}
beende() { kill "$child" 2>/dev/null; wait "$child" 2>/dev/null; child=""; }

# ---- Pi ----
spiele PiTest.lsd pi 41
[ "$gw $gh" = "369 273" ] || fail "the pi window is $gw x $gh, not 369 x 273"
xwininfo -root -tree | grep -q '"PI-Spiel"' || fail "no window titled PI-Spiel"
# The intro's green "PI" (a busy machine may take a moment to show it).
gruen=0
for _ in $(seq 20); do
  sleep 0.2
  foto pi_intro
  gruen=$(zaehle pi_intro 40FF40)
  [ "$gruen" -gt 1000 ] && break
done
[ "$gruen" -gt 1000 ] || fail "the intro shows no green PI"
warte "PI zeigt 12$" 20 >/dev/null || fail "the typing did not reach the 12th character"
sleep 0.4
foto pi_zeichen12
[ "$(zaehle pi_zeichen12 FFFFFF)" -gt 50 ] || fail "no white character at the 12th position"
warte "PI zeigt 30$" 20 >/dev/null || fail "the typing did not reach the 30th character"
sleep 0.4
foto pi_zeichen30
z42=$(warte "PI zeigt 42$" 20) || fail "the typing did not reach the 42nd character"
sleep 2.5
foto pi_ende
[ "$(zaehle pi_ende 00FFFF)" -gt 100 ] || fail "no cyan end screen"
zu=$(warte " ZU" 15) || fail "the pi window did not close after its end screen"
# A time-out after 1580 ms, the flash, ten seconds of end screen.
dauer=$(( $(ms "$zu") - $(ms "$z42") ))
[ "$dauer" -ge 11500 ] && [ "$dauer" -le 12500 ] || fail "the end came $dauer ms after the 42nd character"
warte "FLAGGE PI_GESCHAFFT" 5 >/dev/null || fail "the room did not get the win: $(cat "$out/bericht.txt" | tail -3)"
echo "pi: 41 characters typed, time-out at the 42nd, window closed after $dauer ms, flag set"
beende

# ---- Flying heads ----
spiele WumpelTest.lsd koepfe
[ "$gw $gh" = "649 480" ] || fail "the heads window is $gw x $gh, not 649 x 480"
sleep 0.5
foto koepfe_start
[ "$(zaehle koepfe_start 5AC846 25)" -gt 5000 ] || fail "no heads over the room"
warte "WUMPEL treffer 8$" 20 >/dev/null || fail "the heads were not hit"
foto koepfe_treffer
# Fewer heads fly now, and the countdown has moved on.
[ "$(zaehle koepfe_treffer 5AC846 25)" -lt "$(zaehle koepfe_start 5AC846 25)" ] || fail "hit heads still show"
$IM "$out/koepfe_start.png" -crop "40x17+$((gx + 72))+$((gy + 456))" +repage "$out/zahl1.png"
$IM "$out/koepfe_treffer.png" -crop "40x17+$((gx + 72))+$((gy + 456))" +repage "$out/zahl2.png"
cmp -s <($IM "$out/zahl1.png" rgb:-) <($IM "$out/zahl2.png" rgb:-) && fail "the countdown did not move"
warte "WUMPEL treffer 21$" 20 >/dev/null || fail "not every head was hit: $(tail -2 "$out/bericht.txt")"
warte "WUMPEL animation 20$" 5 >/dev/null || fail "no winning animation"
# A click before the 100th frame changes nothing.
xdotool mousemove $((gx + 300)) $((gy + 200)) click 1
warte "WUMPEL animation 60$" 5 >/dev/null || fail "an early click ended the winning trail"
foto koepfe_gewonnen
[ "$(zaehle koepfe_gewonnen FC0000)" -gt 50 ] || fail "no bright red trail of Gewonnen!"
warte "WUMPEL animation 110$" 5 >/dev/null || fail "the winning trail stopped by itself"
xdotool click 3
zu=$(warte " ZU" 5) || fail "a click after the 100th frame did not end the trail"
warte "FLAGGE KOEPFE_GETROFFEN" 5 >/dev/null || fail "the room did not get the win"
letzte=$(grep animation "$out/bericht.txt" | tail -1 | awk '{ print $4 }')
echo "heads: all 21 hit, trail ended by a right click at frame $letzte, flag set"
beende
# ---- The sample room, by clicking ----
# The blackboard starts the pi game and the mirror the heads. A text the room shows first (or
# answers with afterwards) waits for a key: Return goes on.
(cd /tmp && exec "$build/norvalde" Zauberstube.lsd) >"$out/raum.txt" 2>&1 &
child=$!
fenster() { xwininfo -root -tree | grep -E -- "$1" | head -1; }
szene=""
for _ in $(seq 100); do
  szene=$(fenster 'has no name\): \(".* 640x480\+')
  [ -n "$szene" ] && break
  sleep 0.1
done
[ -n "$szene" ] || fail "no scene window for the magic study: $(cat "$out/raum.txt")"
read -r sx sy <<<"$(echo "$szene" | awk '{ split($NF, a, "+"); print a[2], a[3] }')"
sleep 1
klicke_bis() {  # x y window-pattern
  for _ in $(seq 8); do
    [ -n "$(fenster "$3")" ] && return 0
    xdotool mousemove $((sx + $1)) $((sy + $2)) click 1
    sleep 1
    [ -n "$(fenster "$3")" ] && return 0
    xdotool key Return
    sleep 1
  done
  [ -n "$(fenster "$3")" ]
}
klicke_bis 150 180 '"PI-Spiel"' || fail "a click on the blackboard opened no pi game"
sleep 1
import -window root "$out/raum_pi.png"
python3 "$(dirname "$0")/lib/close_window.py" "$(fenster '"PI-Spiel"' | awk '{ print $1 }')"
for _ in $(seq 50); do [ -z "$(fenster '"PI-Spiel"')" ] && break; sleep 0.1; done
[ -z "$(fenster '"PI-Spiel"')" ] || fail "the pi game did not close on request"
klicke_bis 490 200 '649x480\+' || fail "a click on the mirror opened no heads game"
sleep 1
import -window root "$out/raum_koepfe.png"
kill -0 "$child" 2>/dev/null || fail "the program ended: $(cat "$out/raum.txt")"
echo "magic study: the blackboard opened the pi game, the mirror the heads"
beende
[ -n "${KEEP:-}" ] && cp "$out"/*.png "$out"/bericht.txt "$KEEP"/
echo "PASS"
