#!/usr/bin/env bash
# Every window of the game as a window manager (openbox) shows it: the menu, the scene, the
# save picker, a message box and the eight mini-games, each opened as a player opens it. For each
# the window manager's own account is read back - its frame (_NET_FRAME_EXTENTS), what it lets
# the player do (_NET_WM_ALLOWED_ACTIONS), whose window it belongs to (WM_TRANSIENT_FOR, the
# modal state) - and compared with the window's design: a title bar only with a caption or a
# control box, a border only when it has one, no resizing or maximising with a fixed border, no
# close without a control box, no minimise without a minimise button. Close and minimise are
# read from the window's own Motif hints too: openbox keeps both for any window (the hints ask,
# a window manager decides). Modal windows stay above the scene and have the keyboard; the scene
# gets it back when they close. Then the window manager goes, and on the bare X server the
# picker and a message box still take the keyboard and give it back.
# Screenshots of the screen go to $NORVALDE_SHOT_DIR when it is set.
#   window_frames.sh BUILD_DIR
set -u
BUILD=$(cd "${1:?build folder}" && pwd)
PROG="$BUILD/norvalde"
[ -x "$PROG" ] || { echo "missing $PROG"; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/xvfb.sh"
. "$here/lib/programs.sh"
command -v xprop >/dev/null || { echo "xprop (x11-utils) is needed"; exit 1; }
bad=0
fail() { echo "FAIL: $*"; exit 1; }
wrong() { echo "WRONG: $*"; bad=1; }
foto() { [ -n "${NORVALDE_SHOT_DIR:-}" ] && mkdir -p "$NORVALDE_SHOT_DIR" && import -window root "$NORVALDE_SHOT_DIR/$1.png"; }

# The program's managed windows, oldest first (the window manager's client list is in mapping
# order).
clients_of() {  # pid
  local w
  for w in $(xprop -root _NET_CLIENT_LIST 2>/dev/null | sed 's/.*#//; s/,/ /g'); do
    [ "$(xprop -id "$w" _NET_WM_PID 2>/dev/null | sed 's/.*= //')" = "$1" ] && echo "$w"
  done
}
# Waits until the program has n managed windows; prints the newest.
nth_client() {  # pid n
  local c
  for _ in $(seq 150); do
    mapfile -t c < <(clients_of "$1")
    if [ "${#c[@]}" -ge "$2" ]; then echo "${c[$(($2 - 1))]}"; return 0; fi
    alive "$1" || return 1
    sleep 0.1
  done
  return 1
}
values() { xprop -id "$1" "$2" 2>/dev/null | sed -n 's/.*= //p'; }
# title (a title bar over the border), border (a border only) or none.
frame() {
  local l r t b
  for _ in $(seq 50); do
    IFS=', ' read -r l r t b <<<"$(values "$1" _NET_FRAME_EXTENTS)"
    [ -n "${b:-}" ] && break
    sleep 0.1
  done
  if [ "${t:-0}" -ge 10 ]; then echo title; elif [ "${t:-0}" -gt 0 ] || [ "${l:-0}" -gt 0 ]; then echo border; else echo none; fi
}
allowed() { values "$1" _NET_WM_ALLOWED_ACTIONS | grep -q "_NET_WM_ACTION_$2" && echo 1 || echo 0; }
# What the window asks for in its Motif hints (functions: 8 minimise, 32 close).
asks() {  # window bit: 1, 0, or - without hints
  local h
  h=$(values "$1" _MOTIF_WM_HINTS | cut -d, -f2)
  if [ -z "$h" ]; then echo -; elif [ $((h & $2)) -ne 0 ]; then echo 1; else echo 0; fi
}
owner_of() { xprop -id "$1" WM_TRANSIENT_FOR 2>/dev/null | sed -n 's/.*# //p'; }
modal() { values "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL && echo 1 || echo 0; }
same() { [ -n "$1" ] && [ -n "$2" ] && [ $(($1)) -eq $(($2)) ]; }
focus_is() {  # window: waits up to 3 s for the keyboard focus to be on it
  for _ in $(seq 30); do same "$(xdotool getwindowfocus 2>/dev/null)" "$1" && return 0; sleep 0.1; done
  return 1
}

printf '%-9s %-7s %-11s %-6s %-4s %-5s %-4s %-9s %-5s %s\n' window frame "l,r,t,b" resize max close min owner modal "window manager offers"
# Reads a window back and compares it: name window frame resize max close min owned.
check() {
  local name=$1 w=$2 f rs mx cl mi ow md offers
  f=$(frame "$w")
  rs=$(allowed "$w" RESIZE)
  mx=$(allowed "$w" MAXIMIZE_HORZ)
  cl=$(asks "$w" 32)
  mi=$(asks "$w" 8)
  ow=$(owner_of "$w")
  md=$(modal "$w")
  offers=$(values "$w" _NET_WM_ALLOWED_ACTIONS | sed 's/_NET_WM_ACTION_//g; s/_OB_WM_ACTION_//g; s/CHANGE_DESKTOP, //')
  printf '%-9s %-7s %-11s %-6s %-4s %-5s %-4s %-9s %-5s %s\n' "$name" "$f" "$(values "$w" _NET_FRAME_EXTENTS | tr -d ' ')" \
    "$rs" "$mx" "$cl" "$mi" "${ow:--}" "$md" "$offers"
  [ "$f" = "$3" ] || wrong "$name: frame $f, not $3"
  [ "$rs" = "$4" ] || wrong "$name: resizable $rs, not $4"
  [ "$mx" = "$5" ] || wrong "$name: maximisable $mx, not $5"
  # A window without title bar cannot be moved by the player either.
  [ "$(allowed "$w" MOVE)" = "$([ "$f" = title ] && echo 1 || echo 0)" ] || wrong "$name: movable without title bar, or fixed with one"
  [ "$cl" = "$6" ] || wrong "$name: asks for close $cl, not $6"
  [ "$mi" = "$7" ] || wrong "$name: asks for minimise $mi, not $7"
  if [ "$8" = - ]; then
    [ -z "$ow" ] && [ "$md" = 0 ] || wrong "$name: belongs to $ow (modal $md), not to no window"
  else
    same "$ow" "$8" && [ "$md" = 1 ] || wrong "$name: belongs to ${ow:-no window} (modal $md), not modally to $8"
  fi
}

# ---- The menu, then the scene through "Spiel beginnen" -------------------------------------
(cd /tmp && exec "$PROG") >"$work/menu.log" 2>&1 &
app=$!
pids+=("$app")
menu=$(nth_client "$app" 1) || fail "no menu window: $(cat "$work/menu.log")"
sleep 1.5
foto menu
check menu "$menu" title 0 0 1 1 -
xdotool windowfocus "$menu" 2>/dev/null
xdotool key Return
scene=$(nth_client "$app" 1)
for _ in $(seq 100); do same "$scene" "$menu" || break; sleep 0.1; scene=$(nth_client "$app" 1); done
same "$scene" "$menu" && fail "the menu did not open the scene"
sleep 1
check scene "$scene" title 1 1 1 1 -
xdotool windowfocus "$scene" 2>/dev/null
xdotool key Return  # the start text
sleep 0.5

# ---- The save/load picker over the scene: above it, with the keyboard, which goes back ---------
xdotool key F1  # loading: the start room's countdown forbids saving
picker=$(nth_client "$app" 2) || fail "F1 opened no picker"
sleep 0.5
check picker "$picker" title 0 0 1 0 "$scene"
focus_is "$picker" || wrong "the picker does not have the keyboard"
python3 "$here/lib/close_window.py" "$picker"
for _ in $(seq 50); do [ -z "$(values "$picker" _NET_FRAME_EXTENTS)" ] && break; sleep 0.1; done
focus_is "$scene" || wrong "the scene did not get the keyboard back from the picker"

# ---- A message box (F7): the box belongs to the scene and takes the keyboard ----------------
# The message box belongs to a helper process of its own, which names no class: it is found by
# its title.
box_now() { xwininfo -root -tree | awk '/"Norvalde": \(\)/ && !w { w = $1 } END { print w }'; }
box_of() {  # waits for the message box: its window
  local b=""
  for _ in $(seq 100); do
    b=$(box_now)
    [ -n "$b" ] && { echo "$b"; return 0; }
    sleep 0.1
  done
  return 1
}
box_gone() {
  for _ in $(seq 50); do [ -z "$(box_now)" ] && return 0; sleep 0.1; done
  return 1
}
xdotool key F7
box=$(box_of) || fail "F7 showed no message box"
sleep 0.5
foto message_box
check msgbox "$box" title 0 0 - - "$scene"
focus_is "$box" || wrong "the message box does not have the keyboard"
xdotool key Return  # to whatever has the keyboard: the box
box_gone || wrong "Return did not answer the message box"
focus_is "$scene" || wrong "the scene did not get the keyboard back from the message box"
{ kill -KILL "$app" && wait "$app"; } 2>/dev/null

# ---- The mini-games, each opened by its room's start script --------------------------------
# room name frame resize max close min
game() {
  local room=$1 name=$2 app scn win
  (cd /tmp && exec "$PROG" "$room.lsd") >"$work/$name.log" 2>&1 &
  app=$!
  pids+=("$app")
  scn=$(nth_client "$app" 1) || { wrong "$room: no scene window: $(cat "$work/$name.log")"; return; }
  win=$(nth_client "$app" 2) || { wrong "$room: no game window: $(cat "$work/$name.log")"; return; }
  sleep 1
  foto "$name"
  check "$name" "$win" "$3" 0 0 "$6" "$7" "$scn"
  if [ "$name" = pong ]; then
    # Raising the scene leaves the game above it, and the game keeps the keyboard.
    focus_is "$win" || wrong "pong does not have the keyboard"
    xdotool windowraise "$scn" 2>/dev/null
    sleep 0.5
    local order s=-1 g=-1 i=0 w
    order=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*#//; s/,/ /g')
    for w in $order; do
      same "$w" "$scn" && s=$i
      same "$w" "$win" && g=$i
      i=$((i + 1))
    done
    [ "$g" -gt "$s" ] || wrong "pong went below the scene when the scene was raised"
  fi
  { kill -KILL "$app" && wait "$app"; } 2>/dev/null
}
game PongTest pong title 0 0 1 1
game JumpTest jump border 0 0 0 0
game FightTest fight none 0 0 1 0
game WumpelTest heads border 0 0 0 0
game MemoryTest memory title 0 0 1 1
game PiTest pi title 0 0 1 0
game HDWTest quiz none 0 0 0 0
game EselTest riddle title 0 0 0 0

# ---- No window manager: the picker and a message box still take the keyboard --------------
wm_cleanup
for _ in $(seq 50); do wm_running || break; sleep 0.1; done
wm_running && fail "the window manager did not go"
(cd /tmp && exec "$PROG" Start.lsd) >"$work/bare.log" 2>&1 &
app=$!
pids+=("$app")
. "$here/lib/scene_window.sh"
scene=$(scene_window "$app")
[ -n "$scene" ] || fail "no scene window without window manager: $(cat "$work/bare.log")"
sleep 1
xdotool windowfocus "$scene"
xdotool key Return  # the start text
sleep 0.5
xdotool key F1
picker=$(wait_window "Spiel laden") || fail "F1 opened no picker without window manager"
focus_is "$picker" || wrong "without window manager the picker does not have the keyboard"
python3 "$here/lib/close_window.py" "$picker"
focus_is "$scene" || wrong "without window manager the scene did not get the keyboard back from the picker"
xdotool key F7
box=$(box_of) || fail "F7 showed no message box without window manager"
focus_is "$box" || wrong "without window manager the message box does not have the keyboard"
xdotool key Return
box_gone || wrong "without window manager Return did not answer the message box"
focus_is "$scene" || wrong "without window manager the scene did not get the keyboard back from the message box"

[ "$bad" = 0 ] || fail "some windows are not as designed"
echo PASS
