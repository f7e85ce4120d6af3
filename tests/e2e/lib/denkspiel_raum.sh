# Sourced by the end-to-end checks of the thinking games: starts a private X server and the game
# in the sample game room "Spiele.lsd" (through e2e_denkspiel_raum, which reports game windows and
# flags and texts on its output), and offers what a player does there: click the room, type,
# press keys, take screenshots. Needs BUILD (the build folder) set before.
. "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
. "$(dirname "${BASH_SOURCE[0]}")/programs.sh"
LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
SPIELER="$LIB/denkspieler.py"
PROG="$BUILD/e2e_denkspiel_raum"
BILDER=${NORVALDE_SHOT_DIR:-$work/bilder}
mkdir -p "$BILDER"
export DENKSPIELER_BILDER="$BILDER"
[ -x "$PROG" ] || { echo "missing $PROG"; exit 1; }

fail() {
  echo "FAIL: $*"
  echo "--- program output:"; cat "$work/raum.log"
  exit 1
}

# The game in the room, and its scene window's place on the screen.
. "$(dirname "${BASH_SOURCE[0]}")/scene_window.sh"
(cd /tmp && exec "$PROG" Spiele.lsd) >"$work/raum.log" 2>&1 &
child=$!
pids+=("$child")
SZENE=$(scene_window "$child")
[ -n "$SZENE" ] || fail "no scene window"
SX=$(xwininfo -id "$SZENE" | awk '/Absolute upper-left X/ { print $NF }')
SY=$(xwininfo -id "$SZENE" | awk '/Absolute upper-left Y/ { print $NF }')
sleep 0.5

foto() { import -window root "$BILDER/$1.png"; }

# Clicks a point of the scene, as the room picture counts it.
klicke_raum() { xdotool mousemove $((SX + $1)) $((SY + $2)) click 1; }

# How often the program has reported a line, and a wait until it reports it once more.
zahl() { grep -cx "$1" "$work/raum.log" || true; }
warte_auf() {  # line, count it must exceed, seconds
  for _ in $(seq $(($3 * 10))); do
    [ "$(zahl "$1")" -gt "$2" ] && return 0
    kill -0 "$child" 2>/dev/null || fail "the program ended"
    sleep 0.1
  done
  fail "no further \"$1\" within $3 s"
}

# The flags as last reported.
merker() { grep '^MERKER' "$work/raum.log" | tail -1 | cut -c8-; }
hat_merker() { case ",$(merker)," in *",$1,"*) return 0 ;; *) return 1 ;; esac; }

# The room's texts wait for a key: waits for the text after the first n, takes a screenshot of
# it when one is named, and presses Return until the program reports the text gone (a key that
# comes while the band still opens is not taken, from a player neither).
weiter() {  # n [screenshot]
  warte_auf TEXT "$1" 20
  if [ -n "${2:-}" ]; then
    sleep 1
    foto "$2"
  fi
  fokus "$SZENE" || fail "the scene does not take the keyboard"
  for _ in $(seq 20); do
    xdotool key Return
    for _ in $(seq 10); do
      [ "$(zahl WEG)" -gt "$1" ] && return 0
      sleep 0.1
    done
  done
  fail "the text did not go on Return"
}
weiter 0

# Opens a game by clicking the room at x y and waits for its window.
oeffne() {  # x y game-window name
  TEXTE_VORHER=$(zahl TEXT)
  ZU_VORHER=$(zahl "ZU $3")
  local vorher
  vorher=$(zahl "AUF $3")
  klicke_raum "$1" "$2"
  warte_auf "AUF $3" "$vorher" 10
}

# Waits until the game window has closed and the script answers the outcome with a text, takes a
# screenshot of it and sends it the key it waits for.
nach_spiel() {  # game-window name, screenshot name, seconds
  warte_auf "ZU $1" "$ZU_VORHER" "${3:-60}"
  weiter "$TEXTE_VORHER" "$2"
}
