#!/bin/bash
# Starts a private X server, opens a runtime window with known contents, takes a screenshot
# from the X server and compares the window's pixels with what the program composed.
#   window_shot.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_window_shot"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
convert=$(command -v convert-im6.q16 || command -v convert-im6 || true)
import=$(command -v import-im6.q16 || command -v import || true)
[ -n "$convert" ] && [ -n "$import" ] || { echo "ImageMagick (import, convert) is needed"; exit 1; }
command -v Xvfb >/dev/null || { echo "Xvfb is needed"; exit 1; }

. "$(dirname "$0")/lib/xvfb.sh"

"$prog" "$work/expected.bmp" "$work/done" >"$work/out.txt" 2>"$work/err.txt" &
child=$!
ready=""
for _ in $(seq 100); do
  ready=$(grep '^READY' "$work/out.txt" 2>/dev/null || true)
  [ -n "$ready" ] && break
  kill -0 "$child" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$ready" ]; then
  echo "the program did not get its window up"; cat "$work/err.txt"; exit 1
fi
read -r _ _ _ w h <<<"$ready"
# The client area on the screen: a window manager's frame sits around it.
wid=$(xdotool search --onlyvisible --pid "$child" 2>/dev/null | head -n1)
[ -n "$wid" ] || { echo "the program's window is not on the screen"; exit 1; }
read -r x y < <(xwininfo -id "$wid" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { print x, $NF }')
sleep 0.3
"$import" -display "$disp" -window root "$work/shot.png" || { echo "screenshot failed"; exit 1; }
touch "$work/done"
wait "$child"
rc=$?
child=""
[ $rc -eq 0 ] || { echo "the program failed ($rc)"; cat "$work/err.txt"; exit 1; }

"$convert" "$work/shot.png" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 "rgb:$work/shot.rgb"
"$convert" "$work/expected.bmp" -depth 8 "rgb:$work/expected.rgb"
if cmp -s "$work/shot.rgb" "$work/expected.rgb"; then
  echo "window pixels match the composed frame (${w}x${h} at $x,$y)"
  if [ -n "${NORVALDE_SHOT_DIR:-}" ]; then cp "$work/shot.png" "$work/expected.bmp" "$NORVALDE_SHOT_DIR/"; fi
  exit 0
fi
echo "window pixels differ from the composed frame"
cmp "$work/shot.rgb" "$work/expected.rgb" | head -3
if [ -n "${NORVALDE_SHOT_DIR:-}" ]; then cp "$work/shot.png" "$work/expected.bmp" "$NORVALDE_SHOT_DIR/"; fi
exit 1
