#!/usr/bin/env bash
# The fight as a player meets it, on a private Xvfb display: a room's start script opens it with
# the potion; clicks plan six attacks (one of them the potion, one pick undone) and six
# defences; "Let's fight!" plays the fight to one of its endings, after which the window closes
# and the room is back. A second fight, closed from outside while it runs, ends at once.
# Usage: fight.sh <build folder>. Screenshots land in <build folder>/e2e_fight/.
set -u
build=$(cd "$1" && pwd)
out="$build/e2e_fight"
mkdir -p "$out"
rm -f "$out"/*.png
convert=convert-im6.q16
compare=compare-im6.q16

fail() { echo "FAIL: $*" >&2; exit 1; }

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib/xvfb.sh
source "$here/lib/xvfb.sh"
# shellcheck source=lib/programs.sh
source "$here/lib/programs.sh"
xdotool mousemove 0 0
close_window() { python3 "$here/lib/close_window.py" "$1"; }

shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
shot() { import -window "$1" "$out/$2.png" 2>/dev/null; }
# Root-mean-square difference (0..1) of a region of a screenshot against the same region of a
# picture.
rmse() {  # shot picture geometry
  $convert "$out/$1.png" -crop "$3" +repage "$work/a.png"
  $convert "$2" -crop "$3" +repage "$work/b.png"
  $compare -metric RMSE "$work/a.png" "$work/b.png" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/'
}
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
games="$build/games"
# Centres of the choice buttons: techniques 0..2, the potion, undo.
button_y=(48 128 208 288 408)
# Apart by more than the double-click time: a double click on a button counts as one pick.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.7; }
pick() { click "$1" 40 "${button_y[$2]}"; }

start_fight() {
  (cd /tmp && exec "$build/norvalde" FightTest.lsd) >"$out/app$1.log" 2>&1 &
  app=$!
  pids+=("$app")
  win=$(wait_window '^Fight$') || fail "no fight window: $(cat "$out/app$1.log")"
  sleep 0.5
}

# ---- A fight planned and played to its end -----------------------------------------------
start_fight 1
shot "$win" planung_leer
[ "$(identify-im6.q16 -format '%w %h' "$out/planung_leer.png")" = "640 460" ] || fail "the window is not 640 x 460"
$convert "$out/planung_leer.png" -crop 65x65+8+256 +repage "$work/trank.png"
d=$($compare -metric RMSE "$work/trank.png" "$games/prügels4.bmp" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/')
below "$d" 0.02 || fail "the potion button is not offered (rmse $d)"
echo "planning panel: potion button shown (rmse $d against its picture)"

for i in 0 3 2; do pick "$win" "$i"; done
pick "$win" 4  # undo the third pick
for i in 1 2 0 1; do pick "$win" "$i"; done
shot "$win" planung_angriffe
# The second attack slot (Left 200, Top 80) holds the potion.
$convert "$out/planung_angriffe.png" -crop 65x65+200+80 +repage "$work/slot.png"
d=$($compare -metric RMSE "$work/slot.png" "$games/prügels4.bmp" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/')
below "$d" 0.02 || fail "the potion is not the second attack (rmse $d)"
$convert "$out/planung_angriffe.png" -crop 65x65+8+16 +repage "$work/knopf.png"
d=$($compare -metric RMSE "$work/knopf.png" "$games/prügelb1.bmp" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/')
below "$d" 0.02 || fail "after six attacks the buttons are not the defences (rmse $d)"
for i in 0 1 2 2 1 0; do pick "$win" "$i"; done
shot "$win" planung_fertig
# "Let's fight!" has appeared where the panel was empty.
$convert "$out/planung_angriffe.png" -crop 145x25+480+424 +repage "$work/vorher.png"
$convert "$out/planung_fertig.png" -crop 145x25+480+424 +repage "$work/nachher.png"
d=$($compare -metric RMSE "$work/vorher.png" "$work/nachher.png" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/')
below 0.05 "$d" || fail "no button to start the fight after twelve picks (rmse $d)"
echo "six attacks (one undone on the way) and six defences planned; the start button shows"

click "$win" 552 436  # "Let's fight!"
n=0
last=""
for _ in $(seq 400); do
  sleep 0.5
  shown Fight || break
  n=$((n + 1))
  name=$(printf 'kampf_%03d' "$n")
  shot "$win" "$name" && last=$name
done
shown Fight && fail "the fight did not end within 200 s"
alive "$app" || fail "the program ended with the fight: $(cat "$out/app1.log")"
[ -n "$last" ] || fail "no screenshot of the fight"
echo "the fight took about $((n / 2)) s ($n screenshots)"

# The last picture shown is one of the three endings (its text covers the middle band).
best=""
bestd=1
for ende in KampfG KampfV KampfTK34; do
  d1=$(rmse "$last" "$games/$ende.jpg" 641x150+0+0)
  d2=$(rmse "$last" "$games/$ende.jpg" 641x130+0+290)
  d=$(awk -v a="$d1" -v b="$d2" 'BEGIN { print (a > b ? a : b) }')
  if below "$d" "$bestd"; then bestd=$d; best=$ende; fi
done
below "$bestd" 0.05 || fail "the fight's last screenshot shows no ending (closest $best, rmse $bestd)"
case $best in
  KampfG) echo "ending: Krakix wins ($last, rmse $bestd)" ;;
  KampfV) echo "ending: Torvik wins by knock-out ($last, rmse $bestd)" ;;
  *) echo "ending: Torvik's final attack ($last, rmse $bestd)" ;;
esac
cp "$out/$last.png" "$out/ende.png"

# Back in the room the script started from.
scene=$(xdotool search --onlyvisible --name '' 2>/dev/null | while read -r w; do
  [ "$(xdotool getwindowpid "$w" 2>/dev/null)" = "$app" ] && echo "$w"; done | head -n1)
[ -n "$scene" ] || fail "no scene window after the fight"
shot "$scene" raum
echo "after the fight the scene window is still there"
{ kill -9 "$app" && wait "$app"; } 2>/dev/null

# ---- A fight closed from outside ---------------------------------------------------------
start_fight 2
for i in 0 1 2 0 1 2 0 1 2 0 1 2; do pick "$win" "$i"; done
click "$win" 552 436
sleep 4
shot "$win" vor_dem_schliessen
close_window "$win"
for _ in $(seq 40); do shown Fight || break; sleep 0.1; done
shown Fight && fail "closing from outside did not end the fight"
sleep 3
alive "$app" || fail "closing the fight ended the program: $(cat "$out/app2.log")"
echo "closed from outside during the fight: the window went away and the program goes on"
echo "PASS"
