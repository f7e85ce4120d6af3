# Sourced by end-to-end scripts: finds the scene window (it has no caption) of the program with
# process id $1, waiting up to 30 s; prints its id, or nothing when the program ended first. The
# program's own windows only: a window manager has unnamed windows of its own.
scene_window() {
  local w="" c
  for _ in $(seq 300); do
    for c in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
      [ -z "$(xdotool getwindowname "$c" 2>/dev/null)" ] && { w=$c; break; }
    done
    [ -n "$w" ] && break
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  echo "$w"
}
