#!/usr/bin/env bash
# The donkey riddle and the capitals quiz under a real X server, as a player plays them: in the
# sample game room "Spiele.lsd" a click on the donkey painting opens the riddle and a click on
# the globe the quiz; each is played to a loss and to a win, and the flag its outcome leaves is
# checked. Screenshots go to $NORVALDE_SHOT_DIR when it is set.
#   denkspiele.sh BUILD_DIR
set -euo pipefail
BUILD=$(cd "$1" && pwd)
. "$(dirname "$0")/lib/denkspiel_raum.sh"
foto raum
echo "room open at ${SECONDS} s"

# The riddle: a few tries, then giving up.
oeffne 530 170 Form2
esel() { xwininfo -root -tree | awk '/"Form2"/ && !w { w = $1 } END { print w }'; }
fokus "$(esel)" || fail "the riddle does not take the keyboard"
for versuch in "schwamm hinüber" "fällte einen Baum" "sprang und schwamm" "xyz"; do
  xdotool type --delay 20 "$versuch"
  xdotool key Return
  sleep 0.3
done
foto esel_versuche
xdotool type --delay 20 "Aufgeben"
xdotool key Return
nach_spiel Form2 esel_aufgegeben
hat_merker ESEL_GELOEST && fail "giving up solved the riddle"
echo "riddle given up: flags '$(merker)'"

# Solved: he gave up.
oeffne 530 170 Form2
fokus "$(esel)" || fail "the riddle does not take the keyboard"
xdotool type --delay 20 "gab einfach auf"
xdotool key Return
nach_spiel Form2 esel_geloest
hat_merker ESEL_GELOEST || fail "the solution did not set ESEL_GELOEST"
echo "riddle solved: flags '$(merker)'"

# The quiz, reading the answers against the capitals list.
SDL_VIDEODRIVER=dummy "$PROG" --hdw-tinte >"$work/tinte.txt"
[ -s "$work/tinte.txt" ] || fail "no capitals list"
for modus in verlieren gewinnen; do
  oeffne 320 290 HDW
  python3 "$SPIELER" quiz "$modus" "$work/tinte.txt" >"$work/quiz.txt" 2>&1 || { cat "$work/quiz.txt"; fail "the quiz player failed"; }
  nach_spiel HDW "quiz_$modus"
  echo "quiz ($modus):"; sed 's/^/  /' "$work/quiz.txt"
  if [ "$modus" = gewinnen ]; then
    [ "$(wc -l <"$work/quiz.txt")" -eq 4 ] || fail "four right answers were not the end"
    hat_merker QUIZ_GEWONNEN || fail "four right answers did not set QUIZ_GEWONNEN"
  else
    [ "$(wc -l <"$work/quiz.txt")" -eq 1 ] || fail "a wrong answer was not the end"
    hat_merker QUIZ_GEWONNEN && fail "a wrong answer set QUIZ_GEWONNEN"
  fi
done
echo "flags at the end: '$(merker)'"
echo PASS
