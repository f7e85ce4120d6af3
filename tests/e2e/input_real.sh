#!/bin/bash
# Real keyboard and mouse input through the X server: typing into a text box (with an umlaut),
# Return and Back as key presses, a button click, a label press with its own coordinates.
#   input_real.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_input_real"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
command -v xdotool >/dev/null || { echo "xdotool is needed"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"

# The server's US layout has no ä. Given one for a keystroke, xdotool takes it back at once, and
# a program that reads the key after that on a busy machine finds no character on it: the key
# gets a spare code of its own before the program starts, as on a German keyboard.
python3 - <<'PY' || { echo "could not map ä to a key"; exit 1; }
import ctypes
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
d = ctypes.c_void_p(x.XOpenDisplay(None))
lo, hi, n = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
x.XDisplayKeycodes(d, ctypes.byref(lo), ctypes.byref(hi))
m = x.XGetKeyboardMapping(d, lo.value, hi.value - lo.value + 1, ctypes.byref(n))
frei = [k for k in range(hi.value, lo.value - 1, -1) if not any(m[(k - lo.value) * n.value + i] for i in range(n.value))]
x.XChangeKeyboardMapping(d, frei[0], 2, (ctypes.c_ulong * 2)(0xE4, 0xC4), 1)  # ä, Ä
x.XSync(d, 0)
PY
"$prog" >"$work/out.txt" 2>"$work/err.txt" &
child=$!
for _ in $(seq 100); do
  grep -q '^READY' "$work/out.txt" 2>/dev/null && break
  sleep 0.1
done
wid=$(xdotool search --sync --name '^Eingabe$' | head -1)
[ -n "$wid" ] || { echo "no window"; cat "$work/err.txt"; exit 1; }
sleep 0.3
xdotool mousemove --window "$wid" 50 20
xdotool windowfocus --sync "$wid"
xdotool type --delay 40 'Ab'
xdotool key --delay 40 Return BackSpace
xdotool type --delay 40 'ä'
xdotool mousemove --window "$wid" 40 60 click 1
sleep 0.1
xdotool mousemove --window "$wid" 160 55 click 1
sleep 0.1
sleep 0.6  # apart from the double click below
xdotool click --repeat 2 --delay 80 1
sleep 0.1
xdotool key Escape
wait "$child"
rc=$?
child=""
fail=0
expect() {
  grep -qxF "$1" "$work/out.txt" || { echo "missing: $1"; fail=1; }
}
expect "down 16 1"
expect "down 65 1"
expect "press 65"
expect "press 98"
expect "press 13"
expect "press 8"
expect "click"
expect "label 1 10,5"
expect "label click"
expect "down 27 0"
[ "$(grep -c '^label click$' "$work/out.txt")" = 2 ] || { echo "a double click gave a second Click"; fail=1; }
expect "label dblclick"
expect "text=Aä"
[ -n "${NORVALDE_SHOW_LOG:-}" ] && cat "$work/out.txt"
if [ $rc -ne 0 ] || [ $fail -ne 0 ]; then
  echo "--- program output"; cat "$work/out.txt"; cat "$work/err.txt"
  exit 1
fi
echo "real input reached the handlers"
