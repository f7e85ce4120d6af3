#!/usr/bin/env bash
# A game saved with F2 and loaded with F1 in a new process, played as a player under a real X
# server: from the menu into the sample story, Bruno's dialogue (he gives the string), the branch
# from the forest made a rod with the string, F2 in the tower saves under a typed name, the window
# closed (the program starts again in its menu), a new game, and F1 takes the save from the
# picker's list: the tower comes back with the rod in the item bar. The program runs from a
# folder of its own, so its saves folder starts empty. Screenshots are copied to $KEEP when it
# is set.   saves.sh BUILD_DIR
set -uo pipefail
BUILD=$(cd "$1" && pwd)
IM=convert-im6.q16
CMP=compare-im6.q16
here=$(dirname "$0")
. "$here/lib/xvfb.sh"
. "$here/lib/programs.sh"
. "$here/lib/scene_window.sh"
OUT=$work
unset NORVALDE_DRIVES
fail() {
  echo "FAIL: $*"
  keep=${KEEP:-$(mktemp -d /tmp/norvalde_e2e_saves.XXXXXX)}
  mkdir -p "$keep" && cp "$OUT"/*.png "$OUT"/*.log "$keep"/ 2>/dev/null
  echo "screenshots kept in $keep"
  exit 1
}
. "$here/lib/spieler.sh"
. "$here/lib/glocke.sh"
# The message box on top (the only window named "Norvalde").
meldung() { xwininfo -root -tree | awk '/"Norvalde": \(\)/ && !w { w = $1 } END { print w }' | grep .; }
schliesse_meldung() {  # window
  xdotool windowfocus "$1" 2>/dev/null
  sleep 0.2
  taste Return
  for _ in $(seq 50); do xwininfo -id "$1" >/dev/null 2>&1 || return 0; sleep 0.1; done
  fail "the message box stays"
}

PROG=$work/prog
mkdir -p "$PROG"
cp "$BUILD/norvalde" "$PROG/"
for d in rooms sounds graphics movies cursors items musics games; do ln -s "$BUILD/$d" "$PROG/$d"; done

# ---- A new game from the menu ------------------------------------------------------------------
"$PROG/norvalde" >"$OUT/app.log" 2>&1 &
pids+=($!)
neues_spiel "${pids[0]}" 01

# ---- Bruno gives the string --------------------------------------------------------------------
in_den_turm 02_turm
klick 130 300
text 03_bruno_gruss
taste Return
waehle 04_wahl 03_bruno_gruss 2 1
text 05_schnur 04_wahl
taste Return
waehle 06_wahl 05_schnur 4 1
text 07_lebwohl 06_wahl
taste Return
raum 08_turm turm.jpg

# ---- The branch, and the string dropped on it makes a rod --------------------------------------
angel_bauen 09
klick 30 240
raum 13_dorf dorfplatz.jpg
klick 322 130
raum 14_turm turm.jpg

# ---- F2 in the tower (no countdown there) ------------------------------------------------------
taste F2
PICK=$(wait_window "Spiel speichern") || fail "no picker after F2"
sleep 0.5
import -window root "$OUT/15_picker_speichern.png"
xdotool type --delay 60 "Glocke"
sleep 0.3
import -window root "$OUT/16_name.png"
taste Return
MSG=$(eventually meldung) || fail "no message after saving"
sleep 0.3
import -window root "$OUT/17_gespeichert.png"
datei="$PROG/saves/Glocke.xtc"
[ -f "$datei" ] || fail "no save file: $(ls -la "$PROG/saves" 2>&1)"
[ "$(sed -n 1p "$datei")" = $'zOZovIrav-File v1.1\r' ] || fail "the save file's first line"
[ "$(sed -n 2p "$datei")" = $'Turm.lsd\r' ] || fail "the save file's room: $(sed -n 2p "$datei")"
[ "$(wc -l <"$datei")" -ge 1006 ] || fail "the save file is short"
schliesse_meldung "$MSG"
raum 18_nach_speichern turm.jpg
echo "saved: $(wc -c <"$datei") bytes in $(wc -l <"$datei") lines"

# ---- Leaving: the window closes, the program starts again in its menu --------------------------
alt=${pids[0]}
python3 "$here/lib/close_window.py" "$WID"
wait_gone "$alt" || fail "the game did not end when its window closed"
neu=$(new_menu_process "$alt")
[ -n "$neu" ] || fail "the menu did not come back"
pids+=("$neu")
import -window root "$OUT/19_menu_wieder.png"

# ---- A new process: a new game, then F1 ---------------------------------------------------------
neues_spiel "$neu" 20
taste F1
PICK=$(wait_window "Spiel laden") || fail "no picker after F1"
sleep 0.5
import -window root "$OUT/21_picker_laden.png"
# The list's first entry (its only one), then OK.
xdotool mousemove --window "$PICK" 30 9 click 1
sleep 0.3
import -window root "$OUT/22_gewaehlt.png"
xdotool mousemove --window "$PICK" 264 252 click 1
raum 23_geladen turm.jpg
# The keyboard is back with the scene once the picker has closed: Space opens the bar.
move 320 5
nur_die_angel 24_leiste
raum 25_turm turm.jpg
[ -n "${KEEP:-}" ] && mkdir -p "$KEEP" && cp "$OUT"/*.png "$KEEP"/
echo "PASS"
