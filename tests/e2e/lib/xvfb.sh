# Sourced by the end-to-end scripts: starts a private X server on a free display, exports
# DISPLAY and stops the server on exit. Sets $work to a fresh temporary folder.
work=$(mktemp -d)
xpid=""
child=""
xvfb_cleanup() {
  [ -n "$child" ] && kill "$child" 2>/dev/null
  wm_cleanup 2>/dev/null || true
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap xvfb_cleanup EXIT
command -v Xvfb >/dev/null || { echo "Xvfb is needed"; exit 1; }
# The server picks its display itself and reports it: two checks starting at once must not pick
# the same free number, or one of them ends up on the other's server.
disp=""
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xpid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xpid" 2>/dev/null || break
  sleep 0.1
done
[ -s "$work/display" ] && kill -0 "$xpid" 2>/dev/null && disp=":$(head -n1 "$work/display")"
[ -n "$disp" ] || { echo "no free X display"; exit 1; }
export DISPLAY=$disp
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
. "$(dirname "${BASH_SOURCE[0]}")/wm.sh"
