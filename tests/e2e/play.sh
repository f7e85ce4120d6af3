#!/usr/bin/env bash
# Playing the sample start room with the mouse and keys under a real X server, as a player does:
# the start text stands in the band until a key; the well shows its animated cursor and the
# signpost its still one; a click on the signpost shows two coloured lines; Space opens the item
# bar (a tooltip names the item under the mouse) and closes it; the key dragged from the bar onto
# the door runs the door's script, whose text shows.
set -uo pipefail
BUILD=$(cd "$1" && pwd)
IM=convert-im6.q16
CMP=compare-im6.q16
PROG="$BUILD/e2e_play_scene"
CURSOR="$BUILD/e2e_x_cursor"
. "$(dirname "$0")/lib/xvfb.sh"
. "$(dirname "$0")/lib/scene_window.sh"
OUT=$work
fail() {
  echo "FAIL: $*"
  keep=$(mktemp -d /tmp/norvalde_e2e_play.XXXXXX)
  cp -r "$OUT"/. "$keep"
  echo "screenshots kept in $keep"
  exit 1
}

(cd /tmp && exec "$PROG" Start.lsd) >"$OUT/app.log" 2>&1 &
child=$!
WID=$(scene_window "$child")
[ -n "$WID" ] || fail "no scene window: $(cat "$OUT/app.log")"
sleep 1
xdotool windowfocus "$WID"

shot() { import -window "$WID" "$OUT/$1.png"; }
# Pixels of one exact colour in a part of a screenshot: shot WxH+X+Y colour.
count() {
  $IM "$OUT/$1.png" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" \
    -format '%[fx:round(mean*w*h)]' info:
}
pixel() {  # shot x,y: "r,g,b"
  local p="p{$2}"
  $IM "$OUT/$1.png" -format "%[fx:round(255*$p.r)],%[fx:round(255*$p.g)],%[fx:round(255*$p.b)]" info:
}
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
eventually() {
  for _ in $(seq 40); do "$@" && return 0; sleep 0.25; done
  "$@"
}
$IM "$BUILD/graphics/dorfplatz.jpg" "$OUT/raum.png"
# The scene equals the room picture (rows 0 to 478: the bar may leave the bottom row black).
zeigt_raum() {
  shot "$1"
  $IM "$OUT/$1.png" -crop 640x479+0+0 +repage "$OUT/a.png"
  $IM "$OUT/raum.png" -crop 640x479+0+0 +repage "$OUT/b.png"
  d=$($CMP -metric RMSE "$OUT/a.png" "$OUT/b.png" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/')
  below "$d" 0.03
}
# The band stands (two shots 0.3 s apart alike: its animation is over), black at its edge column,
# with at least that many pixels of the colour: shot colour minimum.
band_steht() {
  shot "$1"
  sleep 0.3
  import -window "$WID" "$OUT/$1_2.png"
  $CMP -metric AE "$OUT/$1.png" "$OUT/$1_2.png" null: >/dev/null 2>&1 || return 1
  n=$(count "$1" 640x120+0+180 "$2")
  [ "$(pixel "$1" 2,240)" = "0,0,0" ] && [ "$n" -ge "$3" ]
}
move() { xdotool mousemove --window "$WID" "$1" "$2"; }
# A key held as long as a player holds it (a text waits for the key to be seen down).
taste() { xdotool keydown "$1" sleep 0.15 keyup "$1"; }
# The pointer's names over 2.4 s, one a line.
zeiger() {
  for i in $(seq 8); do
    "$CURSOR" "$BUILD/cursors" "$OUT/zeiger_$1_$i.bmp"
    sleep 0.3
  done
}

# The start room's first text: its first line yellow, waiting for a key.
eventually band_steht start "rgb(255,255,0)" 30 || fail "no start text in the band ($n yellow pixels)"
sleep 1
band_steht start_noch "rgb(255,255,0)" 30 || fail "the start text went away without a key"
echo "start text: $n yellow pixels in the band, still there after a second"
taste Return
eventually zeigt_raum nach_start || fail "the band did not close onto the room (rmse $d)"
echo "after Return the room shows again: rmse $d"

# Hover cursors: the well's eye blinks through its frames; the signpost's magnifier stays.
if [ -x "$CURSOR" ]; then
  move 330 300
  sleep 0.5
  zeiger brunnen >"$OUT/brunnen.txt"
  grep -q auge "$OUT/brunnen.txt" || fail "no eye cursor over the well: $(tr '\n' ' ' <"$OUT/brunnen.txt")"
  frames=$(grep auge "$OUT/brunnen.txt" | sort -u | wc -l)
  [ "$frames" -ge 2 ] || fail "the well's cursor does not animate: $(tr '\n' ' ' <"$OUT/brunnen.txt")"
  echo "over the well: $(sort "$OUT/brunnen.txt" | uniq -c | tr -s ' \n' ' ')"
  move 445 300
  sleep 0.5
  zeiger schild >"$OUT/schild.txt"
  [ "$(sort -u "$OUT/schild.txt")" = "lupe.ico" ] || fail "signpost cursor: $(tr '\n' ' ' <"$OUT/schild.txt")"
  echo "over the signpost: $(sort "$OUT/schild.txt" | uniq -c | tr -s ' \n' ' ')"
  move 300 40
  sleep 0.5
  himmel=$("$CURSOR" "$BUILD/cursors")
  case "$himmel" in other*) ;; *) fail "over the sky the pointer is $himmel" ;; esac
  echo "over the sky: $himmel"
else
  echo "SKIP cursor pictures: e2e_x_cursor was not built (no XFixes)"
fi

# The key lies on the well's rim: a click takes it.
move 330 300
xdotool click 1
eventually band_steht brunnen_klick "rgb(255,255,255)" 30 || fail "no text after clicking the well ($n)"
echo "well clicked: the band shows $n white text pixels"
taste Return
eventually zeigt_raum nach_brunnen || fail "the well's text did not close (rmse $d)"

# A click on the signpost: two lines, yellow and cyan, until a key.
move 445 300
xdotool click 1
eventually band_steht wegweiser "rgb(255,255,0)" 30 || fail "no yellow line after the click ($n)"
cyan=$(count wegweiser 640x120+0+180 "rgb(0,255,255)")
[ "$cyan" -ge 30 ] || fail "no cyan second line ($cyan)"
echo "signpost text: $n yellow and $cyan cyan pixels"
taste Return
eventually zeigt_raum nach_wegweiser || fail "the signpost text did not close (rmse $d)"

# Space opens the bar with the two items; the item under the mouse is named in a tooltip.
move 300 200
taste space
leiste_offen() {
  shot leiste
  [ "$(pixel leiste 5,416)" = "255,255,255" ] && [ "$(pixel leiste 12,430)" = "30,30,30" ]
}
eventually leiste_offen || fail "the bar did not open with the key in it"
move 30 440
sleep 0.2
move 32 442
tipp() { shot tooltip; t=$(count tooltip 640x480+0+0 "rgb(255,255,225)"); [ "$t" -ge 100 ]; }
eventually tipp || fail "no tooltip over the key ($t)"
echo "bar open, tooltip over the key: $t pixels of its background"
move 300 200
taste space
leiste_zu() { zeigt_raum leiste_zu && [ "$(pixel leiste_zu 320,479)" = "0,0,0" ]; }
eventually leiste_zu || fail "the bar did not close onto the room (rmse $d)"
echo "bar closed: rmse $d, bottom row black"

# The key dragged from the bar onto the door: the door's script shows its text.
taste space
eventually leiste_offen || fail "the bar did not open again"
move 30 440
xdotool mousedown 1
sleep 0.2
move 60 380
sleep 0.3
move 125 290
sleep 0.3
if [ -x "$CURSOR" ]; then
  zeiger tuer >"$OUT/tuer.txt"
  grep -q werfen "$OUT/tuer.txt" || fail "no throwing cursor over the door: $(tr '\n' ' ' <"$OUT/tuer.txt")"
  echo "dragging over the door: $(sort "$OUT/tuer.txt" | uniq -c | tr -s ' \n' ' ')"
fi
xdotool mouseup 1
eventually band_steht tuer "rgb(255,255,255)" 30 || fail "the door's script showed no text ($n)"
echo "key on the door: the band shows $n white text pixels"
taste Return
eventually zeigt_raum nach_tuer || fail "the door's text did not close (rmse $d)"
kill -0 "$child" 2>/dev/null || fail "the program ended: $(cat "$OUT/app.log")"
echo "PASS"
