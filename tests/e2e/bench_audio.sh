#!/bin/bash
# Plays a 640x480 MPEG-1 video with sound in a scene-sized picture box, then a MIDI song with
# nothing else happening, under a private X server, and reports the processor time each takes.
# Fails when either needs more than half a core while it plays (loading a soundfont aside).
#   bench_audio.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_audio_cpu"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"
status=0
for mode in video music; do
  out=$("$prog" "$mode" 6 2>/dev/null) || { echo "$mode: failed to play"; status=1; continue; }
  echo "$out"
  pct=$(echo "$out" | sed -n 's/.*playing \([0-9.]*\)%.*/\1/p')
  awk -v p="$pct" 'BEGIN { exit !(p != "" && p < 50) }' || { echo "$mode: too much processor time"; status=1; }
done
exit $status
