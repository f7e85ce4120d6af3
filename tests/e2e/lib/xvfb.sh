# Sourced by the end-to-end scripts: starts a private X server on a free display from :90 on,
# exports DISPLAY and stops the server on exit. Sets $work to a fresh temporary folder.
work=$(mktemp -d)
xpid=""
child=""
xvfb_cleanup() {
  [ -n "$child" ] && kill "$child" 2>/dev/null
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap xvfb_cleanup EXIT
command -v Xvfb >/dev/null || { echo "Xvfb is needed"; exit 1; }
disp=""
for n in $(seq 90 160); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
    Xvfb ":$n" -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xpid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$xpid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$xpid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then disp=":$n"; break; fi
    xpid=""
  fi
done
[ -n "$disp" ] || { echo "no free X display"; exit 1; }
export DISPLAY=$disp
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
