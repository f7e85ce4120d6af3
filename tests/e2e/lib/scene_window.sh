# Sourced by end-to-end scripts: finds the scene window (it has no caption) of the program with
# process id $1, waiting up to 30 s; prints its id, or nothing when the program ended first.
scene_window() {
  local w=""
  for _ in $(seq 300); do
    w=$(xwininfo -root -tree | awk '/\(has no name\): \("/ { print $1; exit }')
    [ -n "$w" ] && break
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  echo "$w"
}
