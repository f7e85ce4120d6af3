#!/usr/bin/env bash
# The scene window under a real X server, started as a player starts it (the program, then the
# menu's first entry): it opens on the sample start room, F5 inverts the hotspot cells, a larger
# window keeps the scene centred on black, and closing it starts the program again.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
OUT=$(mktemp -d /tmp/norvalde_e2e_scene.XXXXXX)
IM=convert-im6.q16
CMP=compare-im6.q16

# As a new player starts it: the game's program, through the menu's "Spiel beginnen". Without
# the game's program (the menu not built yet) a stand-in opens the scene window directly.
PROG="$BUILD/norvalde"
ARGS=()
if [ ! -x "$PROG" ]; then
  PROG="$BUILD/e2e_scene_window"
  ARGS=(Start.lsd)
fi

cleanup() {
  [ -n "${APP:-}" ] && kill -KILL "$APP" 2>/dev/null || true
  [ -n "${NEU:-}" ] && kill -KILL "$NEU" 2>/dev/null || true
  wm_cleanup 2>/dev/null || true
  [ -n "${XVFB:-}" ] && kill "$XVFB" 2>/dev/null || true
  wait 2>/dev/null || true
  [ -n "${KEEP:-}" ] || rm -rf "$OUT"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; KEEP=1; echo "screenshots kept in $OUT"; exit 1; }

exec 3>"$OUT/display"
# Never reset (see lib/xvfb.sh): the program started again after the close connects just as the
# old one leaves.
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset >/dev/null 2>&1 &
XVFB=$!
for _ in $(seq 100); do [ -s "$OUT/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$OUT/display")"
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
work=$OUT
. "$(dirname "$0")/lib/wm.sh"
. "$(dirname "$0")/lib/scene_window.sh"

# Started from elsewhere: the content is found beside the program, not in the current folder.
(cd /tmp && exec "$PROG" "${ARGS[@]}") >"$OUT/app.log" 2>&1 &
APP=$!

# The window by its title (xwininfo lists it as "title"), waited for up to 30 s.
titled() {
  local w=""
  for _ in $(seq 300); do
    w=$(xwininfo -root -tree | awk -v t="$1" 'index($0, t) && !w { w = $1 } END { print w }')
    [ -n "$w" ] && break
    kill -0 "$APP" 2>/dev/null || fail "the program ended: $(cat "$OUT/app.log")"
    sleep 0.1
  done
  echo "$w"
}
if [ ${#ARGS[@]} -eq 0 ]; then
  MENU=$(titled '"Norvalde - Men')
  [ -n "$MENU" ] || fail "no menu window"
  sleep 1
  # A busy machine may still be settling the window: find it again until the focus takes.
  for _ in $(seq 20); do
    xdotool windowfocus "$MENU" 2>/dev/null && break
    kill -0 "$APP" 2>/dev/null || fail "the program ended: $(cat "$OUT/app.log")"
    sleep 0.2
    MENU=$(titled '"Norvalde - Men')
  done
  xdotool key Return  # the first entry, "Spiel beginnen", is selected
fi
# The scene window has no caption.
WID=$(scene_window "$APP")
[ -n "$WID" ] || fail "no scene window"
sleep 1
xdotool windowfocus "$WID"
# A start text (if the room shows one) waits for a key.
xdotool key Return
sleep 0.5

shot() { import -window "$WID" "$OUT/$1.png"; }
size() { identify-im6.q16 -format '%w %h' "$OUT/$1.png"; }
# Root-mean-square difference (0..1) of a 640x480 part of a screenshot against a picture.
# compare exits 1 for any difference, which under errexit and pipefail would end the check.
dist() { { $CMP -metric RMSE "$1" "$2" null: 2>&1 || true; } | sed 's/.*(\(.*\)).*/\1/'; }
rmse() {  # shot x y reference
  $IM "$OUT/$1.png" -crop "640x480+$2+$3" +repage "$OUT/crop.png"
  dist "$OUT/crop.png" "$4"
}
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
# Retries a check for up to 10 s: a busy machine may take a while to show a change.
eventually() {
  for _ in $(seq 40); do "$@" && return 0; sleep 0.25; done
  "$@"
}

$IM "$BUILD/graphics/dorfplatz.jpg" "$OUT/raum.png"
zeigt_raum() {  # shot x y
  shot "$1"
  d=$(rmse "$1" "$2" "$3" "$OUT/raum.png")
  below "$d" 0.03
}
eventually zeigt_raum start 0 0 || fail "the scene does not show the start room (rmse $d)"
echo "start room vs. its picture: rmse $d"
read -r W H <<<"$(size start)"
[ "$W $H" = "640 480" ] || fail "client area is $W x $H, not 640 x 480"

# F5: the well's cells (256..404, 194..380 rounded to cells) show inverted.
$IM "$OUT/raum.png" -negate "$OUT/negativ.png"
$IM "$OUT/negativ.png" -crop 100x150+270+210 +repage "$OUT/neg_brunnen.png"
brunnen_invers() {
  shot f5
  $IM "$OUT/f5.png" -crop 100x150+270+210 +repage "$OUT/f5_brunnen.png"
  d=$(dist "$OUT/f5_brunnen.png" "$OUT/neg_brunnen.png")
  below "$d" 0.03
}
xdotool key F5
eventually brunnen_invers || fail "F5 did not invert the well's cells (rmse $d)"
echo "well cells after F5 vs. the inverted picture: rmse $d"
$IM "$OUT/f5.png" -crop 40x40+0+0 +repage "$OUT/f5_himmel.png"
$IM "$OUT/raum.png" -crop 40x40+0+0 +repage "$OUT/raum_himmel.png"
d=$(dist "$OUT/f5_himmel.png" "$OUT/raum_himmel.png")
below "$d" 0.03 || fail "F5 changed the sky outside every hotspot (rmse $d)"
xdotool key F5
eventually zeigt_raum f5_zurueck 0 0 || fail "a second F5 did not restore the scene (rmse $d)"

# A larger window: the scene stays in the middle, black around it.
xdotool windowsize "$WID" 900 700
X=$((900 / 2 - 641 / 2)); Y=$((700 / 2 - 481 / 2))
gewachsen() { shot gross; [ "$(size gross)" = "900 700" ] && zeigt_raum gross "$X" "$Y"; }
eventually gewachsen || fail "the scene is not centred in a 900 x 700 window ($(size gross), rmse ${d:-})"
echo "scene at ($X, $Y) in the 900x700 window: rmse $d"
for p in "5,5" "890,690" "$((X - 3)),$((Y + 100))" "$((X + 645)),$((Y + 100))"; do
  c=$($IM "$OUT/gross.png" -format "%[pixel:p{$p}]" info:)
  case "$c" in srgb\(0,0,0\)|black) ;; *) fail "not black around the scene at $p: $c" ;; esac
done

# A smaller window is refused: it grows back to the scene's size.
xdotool windowsize "$WID" 300 200
sleep 1
zurueck_auf_szene() { shot klein; [ "$(size klein)" = "640 480" ] && zeigt_raum klein 0 0; }
eventually zurueck_auf_szene || fail "after asking for 300 x 200 the window is $(size klein)"
echo "after asking for 300x200 the window is $(size klein) and shows the scene"

kill -0 "$APP" 2>/dev/null || fail "the program ended: $(cat "$OUT/app.log")"
kill -KILL "$APP"
wait "$APP" 2>/dev/null || true
APP=""

# A first room that cannot be read: a message names it, then the window closes the usual way,
# which starts the same executable again (a new process) and ends this one.
(cd /tmp && exec "$PROG" Fehlt.lsd) >"$OUT/app2.log" 2>&1 &
APP=$!
BOX=""
for _ in $(seq 300); do
  # The box belongs to a helper process of its own, so it is looked up by its title.
  BOX=$(xwininfo -root -tree | awk '/"Norvalde"/ && !w { w = $1 } END { print w }')
  [ -n "$BOX" ] && break
  sleep 0.1
done
[ -n "$BOX" ] || fail "no message box for the missing room: $(cat "$OUT/app2.log")"
import -window "$BOX" "$OUT/meldung.png"
xdotool windowfocus "$BOX"
xdotool key Return
for _ in $(seq 100); do kill -0 "$APP" 2>/dev/null || break; sleep 0.1; done
kill -0 "$APP" 2>/dev/null && fail "the program did not end after the message"
wait "$APP" 2>/dev/null || true
ALT=$APP
APP=""
EXE=$(readlink -f "$PROG")
for _ in $(seq 300); do
  for w in $(xdotool search --onlyvisible --name '' 2>/dev/null || true); do
    p=$(xdotool getwindowpid "$w" 2>/dev/null || true)
    if [ -n "$p" ] && [ "$p" != "$ALT" ] && [ "$(readlink -f "/proc/$p/exe" 2>/dev/null)" = "$EXE" ]; then
      NEU=$p
    fi
  done
  [ -n "${NEU:-}" ] && break
  sleep 0.1
done
[ -n "${NEU:-}" ] || fail "the program was not started again"
echo "closing started $EXE again as process $NEU"
echo "PASS"
