#!/usr/bin/env bash
# The start menu as a new user meets it, on a private Xvfb display: it types its help text and
# moves its bars; Return on "Spiel beginnen" opens the start room; closing the scene window brings
# the menu back as a new process; Esc there ends the program.
# Usage: menu.sh <build folder>. Screenshots land in <build folder>/e2e_menu/.
set -u
build=$(cd "$1" && pwd)
out="$build/e2e_menu"
mkdir -p "$out"
rm -f "$out"/*.png
convert=convert-im6.q16

fail() { echo "FAIL: $*" >&2; exit 1; }

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib/xvfb.sh
source "$here/lib/xvfb.sh"
# shellcheck source=lib/programs.sh
source "$here/lib/programs.sh"
unset NORVALDE_DRIVES
xdotool mousemove 0 0

# mean brightness (0..1) of a region of a screenshot
mean() { $convert "$1" -crop "$2" +repage -colorspace Gray -format "%[fx:mean]" info:; }
# count of pixels of one exact colour in a region
count_colour() {
  $convert "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" \
    -colorspace Gray -format "%[fx:round(mean*w*h)]" info:
}
# The closing request a window manager sends (WM_DELETE_WINDOW), as its close box does.
close_window() { python3 "$here/lib/close_window.py" "$1"; }
geometry() {  # sets X Y WIDTH HEIGHT of a window's client area (a frame around it moves it)
  WIDTH=0 HEIGHT=0 X=0 Y=0
  eval "$(xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/ { print "X=" $NF }
    /Absolute upper-left Y/ { print "Y=" $NF } /Width:/ { print "WIDTH=" $NF } /Height:/ { print "HEIGHT=" $NF }')"
}

# ---- 1. The menu types and animates -----------------------------------------------------------
"$build/norvalde" &
first=$!
pids+=("$first")
menu=$(wait_window "Norvalde - Men") || fail "the menu window did not appear"
sleep 1
menu=$(wait_window "Norvalde - Men") || fail "the menu window went away"
geometry "$menu"
[ "$WIDTH" -eq 501 ] && [ "$HEIGHT" -eq 397 ] || fail "menu client area ${WIDTH}x${HEIGHT}"
mx=$X; my=$Y
sleep 2
import -window root "$out/1-menu.png"
sleep 0.5
import -window root "$out/2-menu-later.png"
help="257x273+$((mx + 184))+$((my + 120))"
bars="50x281+$((mx + 445))+$((my + 120))"
entries="160x240+$((mx + 10))+$((my + 120))"
h1=$(mean "$out/1-menu.png" "$help")
h2=$(mean "$out/2-menu-later.png" "$help")
echo "help box brightness: $h1 then $h2"
awk "BEGIN{exit !($h1 > 0.005 && $h2 > $h1)}" || fail "the help text is not being typed"
b1=$(mean "$out/1-menu.png" "$bars")
b2=$(mean "$out/2-menu-later.png" "$bars")
echo "bar column brightness: $b1 then $b2"
awk "BEGIN{exit !($b1 > 0 && $b1 != $b2)}" || fail "the bars do not move"
yellow=$(count_colour "$out/1-menu.png" "$entries" "rgb(255,255,0)")
echo "yellow entry pixels: $yellow"
[ "$yellow" -gt 200 ] || fail "the entries are not shown"
banner=$(mean "$out/1-menu.png" "501x100+$mx+$my")
echo "banner brightness: $banner"
awk "BEGIN{exit !($banner > 0.02)}" || fail "no banner"

# ---- 2. Return on "Spiel beginnen" opens the start room ---------------------------------------
xdotool windowfocus "$menu"
sleep 0.2
xdotool key Return
for _ in $(seq 100); do
  xdotool search --onlyvisible --name "Norvalde - Men" >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name "Norvalde - Men" >/dev/null 2>&1 && fail "the menu did not close"
scene=""
for _ in $(seq 100); do
  for w in $(xdotool search --onlyvisible --pid "$first" 2>/dev/null); do
    geometry "$w"
    if [ "$WIDTH" -ge 640 ] && [ "$HEIGHT" -ge 480 ]; then scene=$w; break 2; fi
  done
  sleep 0.1
done
[ -n "$scene" ] || fail "no scene window"
sleep 1.5
import -window root "$out/3-scene.png"
geometry "$scene"
room=$(mean "$out/3-scene.png" "640x480+$((X + (WIDTH - 640) / 2))+$((Y + (HEIGHT - 480) / 2))")
echo "start room brightness: $room"
awk "BEGIN{exit !($room > 0.05)}" || fail "the start room is not shown"

# ---- 3. Closing the scene brings the menu back in a new process -------------------------------
close_window "$scene"
wait_gone "$first" || fail "the scene's process did not end"
menu=$(wait_window "Norvalde - Men") || fail "the menu did not come back"
second=$(xdotool getwindowpid "$menu")
[ -n "$second" ] && [ "$second" != "$first" ] || fail "the menu came back in the old process"
pids+=("$second")
sleep 1.5
import -window root "$out/4-menu-again.png"
geometry "$menu"
h3=$(mean "$out/4-menu-again.png" "257x273+$((X + 184))+$((Y + 120))")
echo "help box brightness after the return: $h3"
awk "BEGIN{exit !($h3 > 0.005)}" || fail "the returned menu is not typing"

# ---- 4. Esc quits ----------------------------------------------------------------------------
xdotool windowfocus "$menu"
sleep 0.2
xdotool key Escape
wait_gone "$second" || fail "Esc did not end the program"
sleep 0.3
import -window root "$out/5-after-esc.png"
left=$(xdotool search --onlyvisible --name "Norvalde" 2>/dev/null | wc -l)
[ "$left" -eq 0 ] || fail "$left window(s) left after Esc"
echo "menu e2e: ok"
