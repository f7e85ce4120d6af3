# Sourced by the end-to-end scripts: starts a private X server on a free display, exports
# DISPLAY and on exit ends the server and every program on it. Sets $work to a fresh temporary
# folder.
work=$(mktemp -d)
xpid=""
child=""
# The processes on this check's X server: those with its display in their environment, started
# after the server (a stray one of an earlier server of that number is none of ours). They are the
# programs the check started and any they started in turn (the menu a game starts as it ends).
display_pids() {
  [ -n "${DISPLAY:-}" ] && [ -n "$xpid" ] || return 0
  local f p seit
  seit=$(startzeit "$xpid") || return 0
  for f in $(grep -lzx -- "DISPLAY=$DISPLAY" /proc/[0-9]*/environ 2>/dev/null); do
    p=${f#/proc/}
    p=${p%/environ}
    if [ "$p" != "$$" ] && [ "$p" != "$BASHPID" ] && [ "$(startzeit "$p" || echo 0)" -ge "$seit" ]; then
      echo "$p"
    fi
  done
}
# When a process started, in clock ticks since boot (the name in its stat may hold blanks).
startzeit() {
  local s
  s=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  s=${s##*) }
  # shellcheck disable=SC2086
  set -- $s
  echo "${20}"
}
# Runs on the way out, under the check's own set -e: a program that has ended already must not
# stop the clean-up half way, nor turn a passed check into a failed one; the check's status stays.
# Everything the check started goes, the X server last and politely (it removes its socket and
# lock); bash's "Killed" reports stay out of the log.
xvfb_cleanup() {
  set +e
  local p
  {
    wm_cleanup
    for p in $child $(jobs -p) $(display_pids); do
      [ "$p" = "$xpid" ] || kill -9 "$p"
    done
    if [ -n "$xpid" ]; then
      kill "$xpid"
      for _ in $(seq 50); do kill -0 "$xpid" || break; sleep 0.1; done
      kill -9 "$xpid"
    fi
    wait
  } 2>/dev/null
  rm -rf "$work"
}
trap xvfb_cleanup EXIT
# A screenshot of a window that closes meanwhile may wait for ever: bounded, it fails like any
# other missed shot.
import_programm=$(type -P import)
import() { timeout 20 "$import_programm" "$@"; }
# Gives a window the keyboard and waits until the server says it has it (up to 10 s): keys sent
# before would go to the window that had it.
fokus() {  # window
  local f
  for _ in $(seq 100); do
    xdotool windowfocus "$1" 2>/dev/null
    f=$(xdotool getwindowfocus 2>/dev/null) && [ -n "$f" ] && [ $((f)) -eq $(($1)) ] && return 0
    sleep 0.1
  done
  return 1
}
command -v Xvfb >/dev/null || { echo "Xvfb is needed"; exit 1; }
# The server picks its display itself and reports it: two checks starting at once must not pick
# the same free number, or one of them ends up on the other's server. It never resets: by default
# it does whenever its last client leaves (a check's xdotool, the game ending as its successor
# starts), and a program connecting just then is turned away ("no display").
disp=""
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
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
