# Sourced by end-to-end scripts after lib/xvfb.sh: a private PulseAudio server with one null sink
# ("pruefung"), reachable only through a socket in $work; the programs started afterwards play
# to it (SDL_AUDIODRIVER=pulseaudio), and nothing reaches or starts any other server. The server
# ends with the check, however the check ends, and before the earlier cleanup removes $work.
#   pulse_start                 starts it and waits until it answers (fails after 10 s)
#   pulse_record FILE           records the sink's output as raw 16-bit stereo at 44100 Hz;
#                               pulse_t0 is the wall-clock millisecond of its first sample
pulse_pid=""
pulse_t0=""
pulse_rec=""
pulse_watch=""
pulse_prev_exit=$(trap -p EXIT | sed -n "s/^trap -- '\(.*\)' EXIT$/\1/p")
pulse_cleanup() {
  set +e  # a server or recorder that has ended already stops nothing here (see xvfb_cleanup)
  local p
  for p in $pulse_rec $pulse_pid; do kill "$p" 2>/dev/null; done
  for _ in $(seq 30); do
    kill -0 "$pulse_pid" 2>/dev/null || break
    sleep 0.1
  done
  for p in $pulse_rec $pulse_pid $pulse_watch; do kill -9 "$p" 2>/dev/null; done
  eval "$pulse_prev_exit"
  return 0
}
trap pulse_cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

pulse_dir="$work/pulse"
export PULSE_SERVER="unix:$pulse_dir/run/native"
export PULSE_CLIENTCONFIG="$pulse_dir/client.conf"
export PULSE_COOKIE="$pulse_dir/cookie"
export SDL_AUDIODRIVER=pulseaudio

pulse_start() {
  mkdir -p "$pulse_dir/run" "$pulse_dir/home" "$pulse_dir/state"
  chmod 700 "$pulse_dir/run"
  printf 'autospawn = no\n' >"$pulse_dir/client.conf"
  cat >"$pulse_dir/server.pa" <<EOF
load-module module-null-sink sink_name=pruefung rate=44100 channels=2
set-default-sink pruefung
load-module module-native-protocol-unix socket=$pulse_dir/run/native auth-anonymous=1
EOF
  # Its own home and runtime folders, no X display and no session bus: nothing of the desktop's
  # own sound server is found or started.
  env -u DISPLAY DBUS_SESSION_BUS_ADDRESS=disabled: HOME="$pulse_dir/home" \
    XDG_CONFIG_HOME="$pulse_dir/home/.config" XDG_RUNTIME_DIR="$pulse_dir/run" \
    PULSE_RUNTIME_PATH="$pulse_dir/run" PULSE_STATE_PATH="$pulse_dir/state" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --realtime=no \
    --high-priority=no --log-target=stderr -F "$pulse_dir/server.pa" >"$pulse_dir/server.log" 2>&1 &
  pulse_pid=$!
  # Should this shell be killed outright, the server still goes with it.
  (
    trap - EXIT HUP INT TERM
    while kill -0 $$ 2>/dev/null; do sleep 1; done
    kill -9 "$pulse_pid" 2>/dev/null
  ) >/dev/null 2>&1 &
  pulse_watch=$!
  disown "$pulse_watch"  # its end is no news
  for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && return 0
    kill -0 "$pulse_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "the sound server did not start:"
  cat "$pulse_dir/server.log"
  return 1
}

pulse_record() {
  local vorher bytes jetzt
  vorher=$(date +%s%3N)
  pacat --record --device=pruefung.monitor --raw --format=s16le --rate=44100 --channels=2 \
    --latency-msec=20 >"$1" 2>"$pulse_dir/record.log" &
  pulse_rec=$!
  for _ in $(seq 200); do
    [ -s "$1" ] && break
    sleep 0.02
  done
  jetzt=$(date +%s%3N)
  bytes=$(stat -c %s "$1")
  [ "$bytes" -gt 0 ] || { echo "the recording did not start: $(cat "$pulse_dir/record.log")"; return 1; }
  # The samples so far reach back to the recording's start (176.4 bytes a millisecond).
  pulse_t0=$((jetzt - bytes * 10 / 1764))
  [ "$pulse_t0" -ge "$vorher" ] || pulse_t0=$vorher
}
