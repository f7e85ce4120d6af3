#!/bin/bash
# The observatory played under a real X server with the X server's mouse: the telescope zooms to
# the moon, the bell shakes the tower, the crystal fades to white and back, and the portal ends
# the game in the credits roll. Screenshots are taken while each effect runs and checked, and the
# credits are watched to their fourth page and the game's end (about four minutes: of all the
# checks only this one waits the roll out). Screenshots stay in $KEEP when it is set.
#   effects.sh BUILD_DIR
set -u
build=$(cd "${1:?build folder}" && pwd)
prog="$build/e2e_effects_player"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
IM=convert-im6.q16
CMP=compare-im6.q16
. "$(dirname "$0")/lib/xvfb.sh"
. "$(dirname "$0")/lib/scene_window.sh"
out="$work"
behalte() { [ -n "${KEEP:-}" ] && mkdir -p "$KEEP" && cp "$out"/*.png "$out"/*.txt "$KEEP"/ 2>/dev/null; }
fail() { echo "FAIL: $*"; behalte; exit 1; }

# Waits up to $2 seconds for a line matching $1 in the player's report, after line $3.
nach=0
warte() {
  local n=$(( ${2:-20} * 20 )) z=""
  for _ in $(seq "$n"); do
    z=$(tail -n +"$((nach + 1))" "$out/bericht.txt" | grep -a -m1 -- "$1" || true)
    if [ -n "$z" ]; then
      nach=$(grep -a -n -m1 -F -- "$z" "$out/bericht.txt" | cut -d: -f1)
      echo "$z"
      return 0
    fi
    kill -0 "$child" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}
foto() { import -window "$wid" "$out/$1.png"; }
auge() { python3 "$(dirname "$0")/lib/auge.py" "$wid" "$@"; }
# In the background from before the report of a page: the scene the moment the page stands
# complete (it stands only a few seconds).
fange() {  # report line, seconds, shot
  auge fang 640x480+0+0 "$out/bericht.txt" "$1" "$2" "$out/$3.ppm" &
  fang=$!
}
gefangen() {  # shot
  wait "$fang" && $IM "$out/$1.ppm" "$out/$1.png"
}
klick() { xdotool mousemove $((wx + $1)) $((wy + $2)) click 1; }
# Waits up to 5 s for a report line, then pauses and takes a screenshot.
bei() {  # line failure pause shot
  warte "$1" 5 >/dev/null || fail "$2"
  sleep "$3"
  foto "$4"
}
# A click ends the text that stands.
weiter() { klick 320 420; warte "ENDE 2 " 5 >/dev/null || fail "$1"; }
# Pixels of a colour (hex RRGGBB, within a distance in percent) in a part of a screenshot.
zaehle() {  # shot colour fuzz [WxH+X+Y]
  $IM "$out/$1.png" -crop "${4:-640x480+0+0}" +repage -fuzz "$3%" -fill "#000001" -opaque "#$2" -fuzz 0 \
    -fill black +opaque "#000001" -fill white -opaque "#000001" -format '%[fx:round(mean*w*h)]' info:
}
# The darkest channel value (0..255) anywhere in a part of a screenshot, and the mean brightness.
dunkelstes() { $IM "$out/$1.png" -crop "${2:-640x480+0+0}" +repage -separate -format '%[fx:round(minima*255)] ' info: | tr ' ' '\n' | sort -n | head -1; }
hell() { $IM "$out/$1.png" -crop "${2:-640x480+0+0}" +repage -colorspace gray -format '%[fx:round(mean*255)]' info:; }

(cd /tmp && exec "$prog" Sternwarte.lsd) >"$out/bericht.txt" 2>"$out/fehler.txt" &
child=$!
wid=$(scene_window "$child")
[ -n "$wid" ] || fail "no scene window: $(cat "$out/fehler.txt")"
read -r wx wy < <(xwininfo -id "$wid" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { print x, $NF }')
$IM "$build/graphics/sternwarte.jpg" "$out/raum.png"

# The start text; a click ends it.
warte "BEGINN 2 " 20 >/dev/null || fail "no start text: $(cat "$out/fehler.txt")"
sleep 0.6
foto start
weiter "the start text did not end on a click"

# ---- The telescope: zoom to the moon, its text over the zoomed view, back out ----
klick 150 300
bei "BEGINN 14 " "the telescope did not zoom" 0.5 zoom_halb
bei "BEGINN 2 " "no text after the zoom" 0.6 fernrohr
mond=$(zaehle fernrohr FAF0C8 6 640x180+0+0)
[ "$mond" -gt 25000 ] || fail "the zoomed view shows little moon ($mond pixels above the band)"
halb=$(zaehle zoom_halb FAF0C8 6)
echo "zoom: half way $halb moon pixels, at the target $mond above the text band"
klick 320 420
bei "ENDE 15 " "the telescope did not zoom back out" 0.3 zurueck
z=$($CMP -metric AE -fuzz 6% "$out/zurueck.png" "$out/raum.png" null: 2>&1)
[ "${z%% *}" -lt 8000 ] || fail "after the zoom out the scene is not the room ($z pixels differ)"

# ---- The bell: the shake, and the shaken frame stays as the scene ----
klick 330 220
bei "BEGINN 32 3" "the bell did not shake the scene" 0.3 ruckeln
bei "BEGINN 2 " "no text after the shake" 0.6 glocke
# The moon matches the room's moon shifted by a few pixels (a negative offset squeezes the scene
# from its left or top edge, so over here it may look shifted by up to 7, and by one more in
# part of the rows or columns).
beste=""
$IM "$out/glocke.png" -crop "140x110+420+30" +repage "$out/g.png"
for dy in $(seq -7 5); do
  for dx in $(seq -7 5); do
    $IM "$out/raum.png" -crop "140x110+$((420 - dx))+$((30 - dy))" +repage "$out/r.png"
    d=$($CMP -metric AE -fuzz 6% "$out/g.png" "$out/r.png" null: 2>&1)
    d=${d%% *}
    if [ -z "$beste" ] || [ "$d" -lt "${beste%% *}" ]; then beste="$d $dx $dy"; fi
  done
done
read -r d dx dy <<<"$beste"
[ "$d" -lt 800 ] || fail "the shaken scene matches no small shift of the room (best $beste)"
echo "shake: the scene stays shifted by ($dx, $dy) ($d pixels differ)"
weiter "the bell's text did not end"

# ---- The crystal: to white and back ----
# The sky is read without a pause from before the click to the text after the fades: each fade
# lasts a second, and a screenshot taken once its report is seen may come too late for it.
auge proben 640x180+0+0 "$out/bericht.txt" "BEGINN 2 " 30 >"$out/blende.txt" &
blick=$!
for _ in $(seq 200); do [ -s "$out/blende.txt" ] && break; sleep 0.05; done
[ -s "$out/blende.txt" ] || fail "the sky could not be read"
klick 450 300
warte "BEGINN 32 1" 5 >/dev/null || fail "the crystal did not fade"
warte "BEGINN 32 2" 5 >/dev/null || fail "the crystal did not fade back"
bei "BEGINN 2 " "no text after the fades" 0.6 kristall
wait "$blick"
# Half way to white every channel has been ORed with a grey of about 128: a reading with every
# channel at least 70 before the brightest. At the turn the sky is white; in the end dark again.
read -r d1 h1 h2 n < <(awk '$3 > hell { hell = $3 } !halb && $2 >= 70 && $3 < 250 { halb = $2 " " $3 }
  END { print (halb ? halb : "- -"), hell + 0, NR }' "$out/blende.txt")
h0=$(hell kristall 640x180+0+0)
[ "$d1" != - ] || fail "no reading half way to white among $n"
[ "${h2%.*}" -ge 190 ] || fail "the scene is not white at the turn (brightest of $n readings: $h2)"
[ "$h0" -lt 80 ] || fail "after the fade back the sky is not dark again ($h0)"
echo "fades: half way darkest channel $d1 brightness $h1; at the turn $h2 ($n readings); back to $h0"
weiter "the crystal's text did not end"

# ---- The portal: the end of the journey and the credits ----
klick 590 300
bei "BEGINN 2 " "the portal shows no text" 0.6 tor
weiter "the portal's text did not end"
warte "BEGINN 30 Abspann" 10 >/dev/null || fail "no credits after the portal"
fange "SEITE 1" 120 seite1
sleep 8
foto abspann_anfang
weiss=$(zaehle abspann_anfang FFFFFF 0 460x240+0+0)
[ "$weiss" -gt 300 ] || fail "the first page shows no white text ($weiss)"
gefangen seite1 || fail "the first page did not complete"
titel=$(zaehle seite1 FAC846 12 520x110+0+350)
bild2=$(zaehle seite1 C8C8BE 8 160x120+470+100)
weiss=$(zaehle seite1 FFFFFF 0 460x240+0+0)
grau=$(zaehle seite1 808080 0)
[ "$titel" -gt 3000 ] || fail "no title picture under the first page ($titel gold pixels)"
[ "$bild2" -gt 300 ] || fail "no keyboard picture beside the first page ($bild2)"
[ "$weiss" -gt 3000 ] && [ "$grau" -lt 100 ] || fail "the first page is not typed out in white ($weiss white, $grau dark grey)"
echo "credits: page 1 typed in white ($weiss pixels), title ($titel) and keyboard picture ($bild2) in"

for s in 2 3 4; do
  fange "SEITE $s" 150 "seite$s"
  gefangen "seite$s" || fail "page $s did not complete"
done
portraits=$(zaehle seite3 000000 0 120x250+520+0)
[ "$portraits" -lt 20000 ] || fail "no portraits beside page 3 ($portraits black pixels)"
[ "$(zaehle seite4 FFFFFF 10 280x170+338+295)" -gt 100 ] || fail "no fireworks under page 4"
warte "ENDE 30 Abspann" 10 >/dev/null || fail "the credits did not end"
warte VERLASSEN 10 >/dev/null || fail "the game did not end after the credits"
echo "credits: all four pages, then the game ended"
behalte
exit 0
