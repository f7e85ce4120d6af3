# Sourced by lib/xvfb.sh once its X server runs: a real window manager (Debian's openbox) takes
# the screen, as on a player's desktop, so the checks see frames, focus and stacking as a player
# would. NORVALDE_WM=none leaves the server bare. Sets $wmpid; wm_cleanup ends the manager.
wmpid=""
wm_cleanup() {
  [ -n "$wmpid" ] && kill "$wmpid" 2>/dev/null
  wmpid=""
  return 0
}
# Whether a window manager has taken the screen: it names its check window on the root window.
# The name outlives a manager that was killed (the server never resets), so the window itself
# must still be there and name itself too.
wm_running() {
  local p
  p=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) || return 1
  [[ $p == *"window id # "* ]] || return 1
  [[ $(xprop -id "${p##*# }" _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]]
}
if [ "${NORVALDE_WM:-openbox}" != none ]; then
  command -v openbox >/dev/null || { echo "openbox is needed"; exit 1; }
  command -v xprop >/dev/null || { echo "xprop (x11-utils) is needed"; exit 1; }
  # The system's own configuration only: a user's openbox settings must not change the checks.
  mkdir -p "$work/wm-config"
  XDG_CONFIG_HOME="$work/wm-config" openbox --sm-disable >"$work/wm.log" 2>&1 &
  wmpid=$!
  for _ in $(seq 100); do
    wm_running && break
    kill -0 "$wmpid" 2>/dev/null || break
    sleep 0.1
  done
  wm_running || { echo "openbox did not take the screen"; cat "$work/wm.log"; exit 1; }
fi
