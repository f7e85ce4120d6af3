#!/usr/bin/env bash
# The sample story "Die stumme Glocke" played as a player plays it, from the menu under a real X
# server: the welcome text, the bell tower, the dialogue with Bruno (portraits, a nested choice,
# the string he gives), the branch from the forest, string and branch combined into a rod, the
# clapper fished from the well and hung into the bell, the rope, the film of the sunrise and the
# ending, after which the program starts again in the menu. Screenshots are copied to $KEEP when
# it is set.   story.sh BUILD_DIR
set -uo pipefail
BUILD=$(cd "$1" && pwd)
IM=convert-im6.q16
CMP=compare-im6.q16
. "$(dirname "$0")/lib/xvfb.sh"
. "$(dirname "$0")/lib/programs.sh"
. "$(dirname "$0")/lib/scene_window.sh"
OUT=$work
unset NORVALDE_DRIVES
fail() {
  echo "FAIL: $*"
  keep=${KEEP:-$(mktemp -d /tmp/norvalde_e2e_story.XXXXXX)}
  mkdir -p "$keep" && cp "$OUT"/*.png "$OUT"/*.log "$keep"/ 2>/dev/null
  echo "screenshots kept in $keep"
  exit 1
}
shot() { import -window "$WID" "$OUT/$1.png"; }
pixel() {  # shot x,y: "r,g,b"
  local p="p{$2}"
  $IM "$OUT/$1.png" -format "%[fx:round(255*$p.r)],%[fx:round(255*$p.g)],%[fx:round(255*$p.b)]" info:
}
count() {  # shot geometry colour: pixels of exactly that colour
  $IM "$OUT/$1.png" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" \
    -format '%[fx:round(mean*w*h)]' info:
}
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
eventually() {
  for _ in $(seq 40); do "$@" && return 0; sleep 0.25; done
  "$@"
}
move() { xdotool mousemove --window "$WID" "$1" "$2"; }
klick() { move "$1" "$2"; sleep 0.1; xdotool click 1; }
taste() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; }
# The scene against a room picture (rows 0 to 478: the item bar may leave the last row black).
zeigt() {  # shot picture
  shot "$1"
  $IM "$OUT/$1.png" -crop 640x479+0+0 +repage "$OUT/a.png"
  $IM "$BUILD/graphics/$2" -resize '640x480!' -crop 640x479+0+0 +repage "$OUT/b.png"
  d=$($CMP -metric RMSE "$OUT/a.png" "$OUT/b.png" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/')
  below "$d" 0.03
}
# A text band that stands (two shots alike 0.3 s apart), black at its edge column, with at least
# that many white text pixels between the portraits, and unlike the shot before it when one is
# named (the next text may follow the last one at once).
band() {  # shot [minimum] [shot before]
  shot "$1"
  sleep 0.3
  import -window "$WID" "$OUT/$1_2.png"
  $CMP -metric AE "$OUT/$1.png" "$OUT/$1_2.png" null: >/dev/null 2>&1 || return 1
  if [ -n "${3:-}" ]; then
    local ae
    ae=$($CMP -metric AE "$OUT/$1.png" "$OUT/$3.png" null: 2>&1 | sed 's/[^0-9].*//')
    [ "${ae:-0}" -gt 200 ] || return 1
  fi
  n=$(count "$1" 380x480+130+0 "rgb(255,255,255)")
  [ "$(pixel "$1" 2,240)" = "0,0,0" ] && [ "$n" -ge "${2:-30}" ]
}
text() {  # shot [shot before]
  eventually band "$1" 30 "${2:-}" || fail "$1: no text in the band"
}
raum() {  # shot picture
  eventually zeigt "$1" "$2" || fail "$1: the scene does not show $2 (rmse $d)"
}
# The text lines of a standing band between the portraits: the middle row of each, top down
# (runs of rows with white pixels; a run of one or two rows is a descender cut off by the
# antialiasing, not a line).
zeilen() {  # shot
  $IM "$OUT/$1.png" -crop 380x480+130+0 +repage -fill black +opaque white -fill white -opaque white \
    -colorspace Gray -scale '1x480!' -depth 8 txt:- |
    awk -F'[,:() ]+' 'BEGIN { start = -1 }
      NR > 1 { y = $2; v = $3
        if (v > 0 && v < 200) { if (start < 0) start = y; ende = y }
        else if (start >= 0) { if (ende - start >= 2) print int((start + ende) / 2); start = -1 } }'
}
# Picks answer k of a choice whose question takes q lines.
waehle() {  # shot shot-before k q
  eventually band "$1" 100 "$2" || fail "$1: no choice in the band"
  mapfile -t z < <(zeilen "$1")
  local i=$(($4 + $3 - 1))
  [ "${#z[@]}" -gt "$i" ] || fail "$1: only ${#z[@]} text lines in the choice"
  echo "$1: ${#z[@]} text lines, answer $3 at row ${z[$i]}"
  klick 320 "${z[$i]}"
  move 320 5
}
# Opens the item bar and drags item k onto a point of the scene, or onto item j in the bar.
ziehe() {  # k x y
  move 320 5
  taste space
  sleep 0.6
  local bx=$(($1 * 64 + 32))
  move "$bx" 448
  sleep 0.2
  xdotool mousedown 1
  sleep 0.2
  if [ "$3" -lt 416 ]; then
    move "$bx" 300  # out of the bar: it closes
    sleep 0.5
  fi
  move "$2" "$3"
  sleep 0.3
  xdotool mouseup 1
  move 320 5
}

# ---- From the menu into the village -------------------------------------------------------------
"$BUILD/norvalde" >"$OUT/app.log" 2>&1 &
pids+=($!)
MENU=$(wait_window "Norvalde - Men") || fail "no menu window"
sleep 1
xdotool windowfocus "$MENU" 2>/dev/null
xdotool key Return
WID=$(scene_window "${pids[0]}")
[ -n "$WID" ] || fail "no scene window: $(cat "$OUT/app.log")"
sleep 0.5
xdotool windowfocus "$WID"
move 320 5
start=$(date +%s)
text 01_willkommen
taste Return
raum 01_dorf dorfplatz.jpg

# ---- The bell tower and Bruno ------------------------------------------------------------------
klick 322 130
text 02_turm
taste Return
raum 02_turm_raum turm.jpg
klick 130 300
text 03_bruno_gruss
# The frames stand; Bruno's portrait (his blue background) fills the right one.
[ "$(pixel 03_bruno_gruss 75,25)" = "0,0,0" ] || fail "no left portrait frame: $(pixel 03_bruno_gruss 75,25)"
blau=$($IM "$OUT/03_bruno_gruss.png" -crop 90x120+520+340 +repage -fuzz 10% -fill white -opaque "rgb(70,80,110)" \
  -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:)
[ "$blau" -ge 1000 ] || fail "no portrait of Bruno ($blau pixels of his background)"
echo "Bruno greets: his portrait shows $blau pixels of its background; $n white text pixels"
taste Return
waehle 04_wahl_fragen 03_bruno_gruss 1 1
gruen=$($IM "$OUT/04_wahl_fragen.png" -crop 90x120+30+20 +repage -fuzz 10% -fill white -opaque "rgb(110,140,90)" \
  -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:)
[ "$gruen" -ge 1000 ] || fail "no portrait of the player at the choice ($gruen)"
text 05_bruno_kloeppel 04_wahl_fragen
taste Return
waehle 06_wahl_verschachtelt 05_bruno_kloeppel 1 1
text 07_bruno_brunnen 06_wahl_verschachtelt
taste Return
waehle 08_wahl_fragen_2 07_bruno_brunnen 2 1
text 09_bruno_schnur 08_wahl_fragen_2
taste Return
waehle 10_wahl_fragen_3 09_bruno_schnur 4 1
text 11_bruno_lebwohl 10_wahl_fragen_3
taste Return
raum 12_nach_gespraech turm.jpg
echo "dialogue over: the tower shows again without frames (rmse $d)"

# ---- The branch from the forest, and string and branch make a rod ---------------------------
klick 600 300
raum 13_dorf dorfplatz.jpg
klick 620 420
text 14_wald
taste Return
raum 14_wald_raum wald.jpg
klick 380 440
text 15_ast
taste Return
raum 15_ohne_ast wald2.jpg
ziehe 0 96 448
text 16_angel
taste Return
raum 16_angel_fertig wald2.jpg
taste space
sleep 0.8
shot 17_leiste_angel
[ "$(pixel 17_leiste_angel 8,440)" = "30,30,30" ] || fail "no item in the bar's first cell"
[ "$(pixel 17_leiste_angel 72,440)" = "0,0,0" ] || fail "more than the rod in the bar"
taste space
sleep 0.6
klick 30 240
raum 18_zurueck dorfplatz.jpg

# ---- The clapper from the well into the bell; the rope ----------------------------------------
ziehe 0 330 300
text 19_brunnen_angel
taste Return
text 20_kloeppel 19_brunnen_angel
taste Return
raum 20_dorf dorfplatz.jpg
klick 322 130
raum 21_turm_wieder turm.jpg
ziehe 0 320 60
text 22_eingehaengt
taste Return
text 23_zieh_am_seil 22_eingehaengt
taste Return
raum 23_turm turm.jpg
klick 322 300
text 24_ziehen
taste Return
text 25_bong 24_ziehen
gelb=$(count 25_bong 380x480+130+0 "rgb(255,255,0)")
[ "$gelb" -ge 30 ] || fail "the bell's line is not yellow ($gelb)"
taste Return
# The film of the sunrise plays where the scene was.
film() { shot 26_film; [ "$(pixel 26_film 2,240)" != "0,0,0" ] && ! zeigt 26_film_x turm.jpg; }
eventually film || fail "no film after the bell"
echo "the film shows: $(pixel 26_film 320,120) in its sky"
for _ in $(seq 60); do band 27_ende 30 26_film && break; sleep 0.25; done
band 27_ende 30 26_film || fail "no closing text"
taste Return
echo "played through in $(($(date +%s) - start)) s"

# ---- The game leaves for the menu ---------------------------------------------------------------
alt=${pids[0]}
# The credits roll first (it cannot be skipped).
for _ in $(seq 1800); do alive "$alt" || break; sleep 0.1; done
alive "$alt" && fail "the game did not end after the story"
neu=""
for _ in $(seq 300); do
  for w in $(xdotool search --onlyvisible --name "Norvalde - Men" 2>/dev/null); do
    p=$(xdotool getwindowpid "$w" 2>/dev/null || true)
    [ -n "$p" ] && [ "$p" != "$alt" ] && neu=$p
  done
  [ -n "$neu" ] && break
  sleep 0.1
done
[ -n "$neu" ] || fail "the menu did not come back"
pids+=("$neu")
import -window root "$OUT/28_menu_wieder.png"
echo "the menu is back as process $neu"
[ -n "${KEEP:-}" ] && mkdir -p "$KEEP" && cp "$OUT"/*.png "$KEEP"/
echo "PASS"
