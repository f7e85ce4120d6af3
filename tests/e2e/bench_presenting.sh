#!/usr/bin/env bash
# What showing the game costs on a machine without a GPU, under a private X server: the menu
# while it animates and the start room standing idle, each as the program presents by default
# and as a user's own SDL_FRAMEBUFFER_ACCELERATION=1 asks (an OpenGL texture; here Mesa's
# software rasteriser). Prints processor time (one core = 100%), resident memory, threads and
# the time from the start to the visible window.
# Fails when the default loads the OpenGL rasteriser, when the user's own setting is not
# followed, or when the menu or the room needs 45 MB or more.
#   bench_presenting.sh BUILD_DIR [seconds per measurement]
set -u
build=$(cd "${1:?build folder}" && pwd)
secs=${2:-5}
prog="$build/norvalde"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"
unset NORVALDE_DRIVES SDL_FRAMEBUFFER_ACCELERATION
command -v xdotool >/dev/null || { echo "xdotool is needed"; exit 1; }
status=0
fail() { echo "FAIL: $*"; status=1; }

# Nanoseconds on a processor, summed over the process's threads.
cpu_ns() {
  local sum=0 run rest
  for f in /proc/"$1"/task/*/schedstat; do
    read -r run rest <"$f" 2>/dev/null || continue
    sum=$((sum + run))
  done
  echo "$sum"
}

# measure <label> <room file or ""> [VAR=value...]: one line of figures; sets $gl (1 when an
# OpenGL driver is mapped) and $rss_mb.
measure() {
  local label=$1 room=$2
  shift 2
  local args=()
  [ -n "$room" ] && args=("$room")
  local t0 t1 c0 c1 w0 w1
  t0=$(date +%s%N)
  (cd /tmp && exec env "$@" "$prog" "${args[@]}") >"$work/app.log" 2>&1 &
  child=$!
  local seen=""
  for _ in $(seq 2000); do
    [ -n "$(xdotool search --onlyvisible --pid "$child" 2>/dev/null)" ] && { seen=1; break; }
    kill -0 "$child" 2>/dev/null || break
    sleep 0.005
  done
  t1=$(date +%s%N)
  [ -n "$seen" ] || { fail "$label: no window ($(cat "$work/app.log"))"; kill -9 "$child" 2>/dev/null; child=""; return; }
  sleep 2  # start-up work and the first room's script are done
  c0=$(cpu_ns "$child"); w0=$(date +%s%N)
  sleep "$secs"
  c1=$(cpu_ns "$child"); w1=$(date +%s%N)
  rss_mb=$(awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' /proc/"$child"/status)
  local threads
  threads=$(awk '/^Threads/ { print $2 }' /proc/"$child"/status)
  gl=0
  grep -qE 'swrast_dri|libgallium|dri/[a-z0-9_]+_dri\.so' /proc/"$child"/maps && gl=1
  kill -9 "$child" 2>/dev/null
  wait "$child" 2>/dev/null
  child=""
  sleep 0.5  # the X server frees the killed client's resources before the next one connects
  printf '%-34s CPU %5.2f%%  RSS %5s MB  threads %2s  start to window %4d ms  OpenGL %s\n' "$label" \
    "$(awk -v a="$c0" -v b="$c1" -v x="$w0" -v y="$w1" 'BEGIN { print (b - a) / (y - x) * 100 }')" \
    "$rss_mb" "$threads" $(( (t1 - t0) / 1000000 )) "$([ $gl = 1 ] && echo yes || echo no)"
}

measure "menu, default" ""
[ "$gl" = 0 ] || fail "the menu presents through OpenGL by default"
awk -v r="$rss_mb" 'BEGIN { exit !(r < 45) }' || fail "the menu needs $rss_mb MB"
measure "idle room, default" Start.lsd
[ "$gl" = 0 ] || fail "the room presents through OpenGL by default"
awk -v r="$rss_mb" 'BEGIN { exit !(r < 45) }' || fail "the room needs $rss_mb MB"
# The user's own setting wins; it can only show where an OpenGL driver is installed.
if ls /usr/lib/*/dri/*_dri.so >/dev/null 2>&1; then
  measure "menu, SDL_FRAMEBUFFER_ACCELERATION=1" "" SDL_FRAMEBUFFER_ACCELERATION=1
  [ "$gl" = 1 ] || fail "the user's SDL_FRAMEBUFFER_ACCELERATION=1 was not followed"
  measure "idle room, SDL_FRAMEBUFFER_ACCELERATION=1" Start.lsd SDL_FRAMEBUFFER_ACCELERATION=1
fi
exit $status
