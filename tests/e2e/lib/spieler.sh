# Sourced by the end-to-end checks that play the game as a player, after lib/xvfb.sh: screenshots
# of the scene window $WID into $OUT, what they show (pixels, the room picture, a standing text
# band, its text lines), and the player's mouse and keys (clicks, held keys, choices, items dragged
# from the bar). Needs IM (ImageMagick's convert), CMP (its compare) and BUILD.
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
# A tap in one process: split over two, on a busy machine it could outlast the X server's
# auto-repeat delay and count twice.
taste() { xdotool keydown "$1" sleep 0.15 keyup "$1"; }
# The item bar stands open (its white top edge at row 416) with an item in its first cell, or is
# gone again.
leiste_offen() {  # shot
  shot "$1"
  [ "$(pixel "$1" 5,416)" = "255,255,255" ] && [ "$(pixel "$1" 8,440)" = "30,30,30" ]
}
leiste_zu() {  # shot
  shot "$1"
  [ "$(pixel "$1" 5,416)" != "255,255,255" ] && [ "$(pixel "$1" 8,440)" != "30,30,30" ]
}
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
  eventually leiste_offen ziehe_leiste || fail "the bar did not open to drag item $1"
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
