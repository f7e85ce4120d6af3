#!/usr/bin/env bash
# The jump-and-run game under a real X server, as a player plays it.
# 1. The program started on the sample room "JumpTest.lsd", whose start script opens the game:
#    holding Right walks the player to the first wall, holding Esc gives up; the game window
#    closes, the arcade room shows again, and a click on its machine opens the game anew.
# 2. The whole level, its keys pressed on the X server between frames along a recorded way:
#    screenshots when the view has scrolled, when an enemy has just been stomped and when the
#    door is reached; the game hands back a win.
#   jump_play.sh BUILD_DIR
set -euo pipefail
BUILD=$(cd "$1" && pwd)
IM=convert-im6.q16
CMP=compare-im6.q16
. "$(dirname "$0")/lib/xvfb.sh"
OUT=$work
# The program running now is $child, which the X server's clean-up ends on the way out.
fail() {
  echo "FAIL: $*"
  local kept
  kept=$(mktemp -d /tmp/norvalde_e2e_jump.XXXXXX)
  cp "$OUT"/*.png "$OUT"/*.log "$kept"/ 2>/dev/null || true
  echo "screenshots kept in $kept"
  exit 1
}

# The game window: no caption, 624 by 433.
spielfenster() {
  local w=""
  for _ in $(seq 300); do
    w=$(xwininfo -root -tree | awk '/\(has no name\): \("/ && / 624x433\+/ && !w { w = $1 } END { print w }')
    [ -n "$w" ] && break
    kill -0 "$child" 2>/dev/null || fail "the program ended: $(cat "$OUT/app.log")"
    sleep 0.1
  done
  echo "$w"
}
shot() { import -window "$1" "$OUT/$2.png"; }
# How many pixels of a screenshot have exactly one colour.
zaehle() { $IM "$OUT/$1.png" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:round(mean*w*h)]' info:; }
# compare's status tells whether the pictures differ, which is no failure here.
rmse() { { $CMP -metric RMSE "$1" "$2" null: 2>&1 || true; } | sed 's/.*(\(.*\)).*/\1/'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# ---- 1. The program and the room's start script, real keys -----------------------------------
(cd /tmp && exec "$BUILD/norvalde" JumpTest.lsd) >"$OUT/app.log" 2>&1 &
child=$!
WID=$(spielfenster)
[ -n "$WID" ] || fail "no game window from JumpTest.lsd"
sleep 2  # the player drops in and lands
xdotool windowfocus "$WID"
shot "$WID" start
xdotool keydown Right
sleep 1.5
xdotool keyup Right
shot "$WID" rechts
# The player stood at x 0 and now stands at the wall at x 48: the red shirt moved right.
$IM "$OUT/start.png" -crop 48x40+0+290 +repage "$OUT/start_spieler.png"
$IM "$OUT/rechts.png" -crop 48x40+48+290 +repage "$OUT/rechts_spieler.png"
d=$(rmse "$OUT/start_spieler.png" "$OUT/rechts_spieler.png")
below "$d" 0.05 || fail "the player did not walk right to the wall (rmse $d)"
echo "Right held: the player walked from x 0 to the wall at x 48 (rmse $d)"
xdotool keydown Escape
sleep 0.3
xdotool keyup Escape
# Lost: after the fall the game window closes and the room shows.
# (awk reads the whole list: a reader that stops early breaks the pipe, and the pipe's status.)
spiel_offen() { xwininfo -root -tree | awk '/\(has no name\): \("/ && / 624x433\+/ { n++ } END { exit !n }'; }
for _ in $(seq 100); do
  spiel_offen || break
  sleep 0.1
done
spiel_offen && fail "the game window did not close after Esc"
SZENE=$(xwininfo -root -tree | awk '/\(has no name\): \("/ && / 640x480\+/ && !w { w = $1 } END { print w }')
[ -n "$SZENE" ] || fail "no scene window after the game"
sleep 0.5
shot "$SZENE" raum
# The top of the room (a text band about the outcome may stand across the middle).
$IM "$BUILD/graphics/spielhalle.jpg" -crop 640x200+0+0 +repage "$OUT/spielhalle.png"
$IM "$OUT/raum.png" -crop 640x200+0+0 +repage "$OUT/raum_oben.png"
d=$(rmse "$OUT/raum_oben.png" "$OUT/spielhalle.png")
below "$d" 0.05 || fail "the arcade room does not show after the game (rmse $d)"
echo "Esc held: the game closed lost and the arcade room shows again (rmse $d)"
# A click on the machine starts the game again (a key first answers a text about the outcome,
# should the room show one).
xdotool windowfocus "$SZENE"
xdotool key Return
sleep 0.5
xdotool mousemove --window "$SZENE" 320 220 click 1
WID=$(spielfenster)
[ -n "$WID" ] || fail "a click on the machine did not start the game"
echo "a click on the arcade machine opened the game again"
kill -KILL "$child"
wait "$child" 2>/dev/null || true
child=""

# ---- 2. The whole level ------------------------------------------------------------------------
mkfifo "$OUT/fifo"
"$BUILD/e2e_jump_play" "$OUT" >"$OUT/fifo" 2>"$OUT/play.log" &
child=$!
exec 4<"$OUT/fifo"
read -r -t 30 zeile <&4 || fail "the player program did not start: $(cat "$OUT/play.log")"
[ "$zeile" = "FENSTER" ] || fail "unexpected: $zeile"
WID=$(spielfenster)
[ -n "$WID" ] || fail "no game window"
sleep 0.5
xdotool windowfocus "$WID"
sleep 0.3
touch "$OUT/los"

ergebnis=""
while read -r -t 300 wort name bild <&4; do
  case "$wort" in
    MOMENT)
      sleep 0.3  # the held frame is painted
      shot "$WID" "$name"
      echo "frame $bild: $name (screenshot $name.png)"
      case "$name" in
        gescrollt)
          # The first view's columns 0 and 1 are gone: the stone at the bottom left is no
          # longer where it was.
          d=$(rmse "$OUT/start.png" "$OUT/gescrollt.png")
          below 0.05 "$d" || fail "the view did not scroll (rmse to the first view $d)"
          ;;
        gestampft)
          # The stomped enemy crumbles into red blocks.
          n=$(zaehle gestampft "rgb(255,0,0)")
          [ "$n" -ge 30 ] || fail "no red blocks after the stomp ($n red pixels)"
          echo "  $n pixels of red blocks"
          ;;
        tuer)
          # The star above the player's head, the door beside.
          n=$(zaehle tuer "rgb(255,220,60)")
          [ "$n" -ge 200 ] || fail "no goal star above the player ($n star pixels)"
          echo "  $n pixels of the goal star"
          ;;
      esac
      touch "$OUT/$name.done"
      ;;
    ENDE) ergebnis=$name; break ;;
    FEHLER) fail "$name $bild" ;;
  esac
done
wait "$child" || true
child=""
[ "$ergebnis" = "True" ] || fail "the game did not hand back a win: ${ergebnis:-nothing} ($(cat "$OUT/play.log"))"
for m in gescrollt gestampft tuer; do
  [ -e "$OUT/$m.done" ] || fail "no moment $m"
done
echo "the door was reached; the game handed back a win"
if [ -n "${NORVALDE_SHOTS:-}" ]; then cp "$OUT"/*.png "$NORVALDE_SHOTS"/; fi
echo "PASS"
