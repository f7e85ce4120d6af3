#!/usr/bin/env bash
# The sample story "Die stumme Glocke" played as a player plays it, from the menu under a real X
# server: the welcome text, the bell tower, the dialogue with Bruno (portraits, a nested choice,
# the string he gives), the branch from the forest, string and branch combined into a rod, the
# clapper fished from the well and hung into the bell, the rope, the film of the sunrise, the
# ending and the credits, whose window closed starts the program again in the menu. Screenshots
# are copied to $KEEP when it is set.   story.sh BUILD_DIR
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
. "$(dirname "$0")/lib/spieler.sh"
. "$(dirname "$0")/lib/glocke.sh"

# ---- From the menu into the village -------------------------------------------------------------
"$BUILD/norvalde" >"$OUT/app.log" 2>&1 &
pids+=($!)
start=$(date +%s)
neues_spiel "${pids[0]}" 01

# ---- The bell tower and Bruno ------------------------------------------------------------------
in_den_turm 02_turm
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
angel_bauen 13
nur_die_angel 17_leiste_angel
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

# ---- The credits, and the game leaves for the menu ---------------------------------------------
# The roll types its first page in white onto a black scene (the tower's wall and door gone, where
# neither text nor pictures come). It is watched to its end, the game leaving with it, by the
# effects check; here a player who has seen enough closes the window.
abspann() {
  shot 28_abspann
  [ "$(pixel 28_abspann 630,60)" = "0,0,0" ] && [ "$(pixel 28_abspann 620,300)" = "0,0,0" ] &&
    [ "$(count 28_abspann 460x240+0+0 "rgb(255,255,255)")" -gt 300 ]
}
for _ in $(seq 60); do abspann && break; sleep 0.5; done
abspann || fail "no credits after the story"
echo "the credits roll: $(count 28_abspann 460x240+0+0 "rgb(255,255,255)") white pixels typed"
alt=${pids[0]}
python3 "$(dirname "$0")/lib/close_window.py" "$WID"
wait_gone "$alt" || fail "closing the window during the credits did not end the game"
neu=$(new_menu_process "$alt")
[ -n "$neu" ] || fail "the menu did not come back"
pids+=("$neu")
import -window root "$OUT/29_menu_wieder.png"
echo "the menu is back as process $neu"
[ -n "${KEEP:-}" ] && mkdir -p "$KEEP" && cp "$OUT"/*.png "$KEEP"/
echo "PASS"
