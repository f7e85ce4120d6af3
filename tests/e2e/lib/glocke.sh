# Sourced after lib/spieler.sh by the checks that play the sample story "Die stumme Glocke": the
# ways through it that more than one check takes. The callers name the screenshots.

# A new game from the menu of the program with process id $1: "Spiel beginnen", the welcome text
# closed, the village square shown. Sets WID to the scene window.
neues_spiel() {  # process shot
  local menu
  menu=$(wait_window "Norvalde - Men") || fail "no menu window"
  sleep 1
  xdotool windowfocus "$menu" 2>/dev/null
  xdotool key Return
  WID=$(scene_window "$1")
  [ -n "$WID" ] || fail "no scene window: $(cat "$OUT/app.log")"
  sleep 0.5
  xdotool windowfocus "$WID"
  move 320 5
  text "$2_willkommen"
  taste Return
  raum "$2_dorf" dorfplatz.jpg
}

# From the square into the tower the first time: its text closed, the tower shown.
in_den_turm() {  # shot
  klick 322 130
  text "$1"
  taste Return
  raum "$1_raum" turm.jpg
}

# From the tower through the square into the forest: the branch taken, the string (item 0)
# dropped on it makes the rod; the forest shows without the branch.
angel_bauen() {  # shot
  klick 600 300
  raum "$1_dorf" dorfplatz.jpg
  klick 620 420
  text "$1_wald"
  taste Return
  raum "$1_wald_raum" wald.jpg
  klick 380 440
  text "$1_ast"
  taste Return
  raum "$1_ohne_ast" wald2.jpg
  ziehe 0 96 448
  text "$1_angel"
  taste Return
  raum "$1_angel_fertig" wald2.jpg
}

# The item bar opened with Space holds the rod in its first cell and nothing beside it.
nur_die_angel() {  # shot
  taste space
  eventually leiste_offen "$1" || fail "$1: the bar did not open"
  [ "$(pixel "$1" 72,440)" = "0,0,0" ] || fail "more than the rod in the bar"
  taste space
  eventually leiste_zu "$1_zu" || fail "$1: the bar did not close"
}
