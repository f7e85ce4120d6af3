# Sourced by end-to-end scripts after lib/xvfb.sh: the programs a check starts (add their ids to
# `pids`) end with it, and helpers wait for their windows and their end.
pids=()
programs_cleanup() {
  set +e  # see xvfb_cleanup
  local p
  # The programs may be waiting inside a script: no polite request, just the end.
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  xvfb_cleanup
}
trap programs_cleanup EXIT
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

# wait_window <name pattern> -> window id of a visible window with that name (up to 15 s)
wait_window() {
  for _ in $(seq 150); do
    local w
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}
alive() { kill -0 "$1" 2>/dev/null && [ "$(ps -o stat= -p "$1" | cut -c1)" != Z ]; }
wait_gone() {
  for _ in $(seq 100); do alive "$1" || return 0; sleep 0.1; done
  return 1
}
# The menu that a program ending with process id $1 started again: prints the new process's id
# once its menu window shows (up to 30 s), or nothing.
new_menu_process() {
  local neu="" p
  for _ in $(seq 300); do
    for w in $(xdotool search --onlyvisible --name "Norvalde - Men" 2>/dev/null); do
      p=$(xdotool getwindowpid "$w" 2>/dev/null || true)
      [ -n "$p" ] && [ "$p" != "$1" ] && neu=$p
    done
    [ -n "$neu" ] && break
    sleep 0.1
  done
  echo "$neu"
}
