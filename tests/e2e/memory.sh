#!/usr/bin/env bash
# Memory under a real X server, as a player plays it: in the sample game room "Spiele.lsd" a
# click on the card table opens the game against Wendra. A player who looks at the cards (see
# lib/denkspieler.py) plays once to lose, turning cards it knows to differ, and then to win,
# taking every pair it knows, until it has won (a loss or a draw can happen to a good player
# too). The flag the outcome leaves is checked. Screenshots go to $NORVALDE_SHOT_DIR when set.
#   memory.sh BUILD_DIR
set -euo pipefail
BUILD=$(cd "$1" && pwd)
. "$(dirname "$0")/lib/denkspiel_raum.sh"

spiele() {  # mode
  oeffne 150 360 Memory
  python3 "$SPIELER" memory "$1" >>"$work/memory.txt" 2>&1 || { cat "$work/memory.txt"; fail "the Memory player failed"; }
  nach_spiel Memory "memory_$1" 30
}

echo "room open at ${SECONDS} s"
spiele verlieren
hat_merker MEMORY_GEWONNEN && fail "losing set MEMORY_GEWONNEN"
echo "lost on purpose: $(tail -1 "$work/memory.txt") (at ${SECONDS} s)"

for versuch in 1 2 3; do
  spiele gewinnen
  echo "playing to win, game $versuch: $(tail -1 "$work/memory.txt") (at ${SECONDS} s)"
  hat_merker MEMORY_GEWONNEN && break
done
hat_merker MEMORY_GEWONNEN || fail "three games played to win did not set MEMORY_GEWONNEN"
echo "flags at the end: '$(merker)'"
echo PASS
