#!/usr/bin/env bash
# Sound through a real sound server: a private PulseAudio with a null sink, the game's output
# going there through SDL's PulseAudio driver, and the sink's monitor recorded. A hit in Pong, a
# MIDI tune through the General MIDI soundfont and a speech line must each be heard at the
# moment the game plays it, after a stretch of silence.
# Usage: sound_server.sh <build folder> [mute]   (mute: the sink muted, the check must fail)
set -u
build=$(cd "$1" && pwd)
prog="$build/e2e_sound_server"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
for c in pulseaudio pactl pacat python3; do
  command -v "$c" >/dev/null || { echo "$c is needed"; exit 1; }
done
[ -f /usr/share/sounds/sf2/FluidR3_GM.sf2 ] || { echo "the General MIDI soundfont is needed"; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)

fail() { echo "FAIL: $*" >&2; exit 1; }

# shellcheck source=lib/xvfb.sh
source "$here/lib/xvfb.sh"
# shellcheck source=lib/pulse.sh
source "$here/lib/pulse.sh"

pulse_start || fail "no sound server"
[ "${2:-}" = mute ] && pactl set-sink-mute pruefung 1
pulse_record "$work/aufnahme.raw" || fail "no recording"
"$prog" "$build" "$work" >"$work/zeiten.txt" 2>"$work/fehler.txt"
rc=$?
sleep 1  # the last sound's tail reaches the recording
kill "$pulse_rec" 2>/dev/null
wait "$pulse_rec" 2>/dev/null
[ $rc -eq 0 ] || fail "the player failed ($rc): $(cat "$work/fehler.txt")"
grep -q '^device yes' "$work/zeiten.txt" || fail "SDL found no sound device: $(cat "$work/zeiten.txt" "$work/fehler.txt")"

python3 - "$work/aufnahme.raw" "$pulse_t0" "$work/zeiten.txt" <<'EOF' ||
import array, math, sys

raw, t0, zeiten = sys.argv[1], int(sys.argv[2]), sys.argv[3]
proben = array.array("h")
with open(raw, "rb") as f:
    daten = f.read()
proben.frombytes(daten[: len(daten) // 4 * 4])
rate, fenster = 44100, 441  # levels of 10 ms
pegel = []
for i in range(0, len(proben) // 2 - fenster + 1, fenster):
    teil = proben[2 * i : 2 * (i + fenster)]
    pegel.append(math.sqrt(sum(v * v for v in teil) / len(teil)) / 32768)

def db(x):
    return 20 * math.log10(x) if x > 0 else -120.0

def stueck(von_ms, bis_ms):  # levels between two wall-clock moments
    a, b = max(0, (von_ms - t0) // 10), max(0, (bis_ms - t0) // 10)
    return pegel[a:b]

laut, still = 10 ** (-40 / 20), 10 ** (-60 / 20)
fehler = 0
for zeile in open(zeiten):
    teile = zeile.split()
    if len(teile) != 3:
        continue
    was, von, bis = teile[0], int(teile[1]), int(teile[2])
    # Output buffers delay the sound a little; the recording's start is known to some 50 ms.
    danach = stueck(von - 300, bis + 700)
    davor = stueck(von - 1500, von - 300)
    if not danach or not davor:
        print(f"{was}: outside the recording")
        fehler += 1
        continue
    spitze, ruhe = max(danach), max(davor)
    einsatz = next((i for i, p in enumerate(danach) if p >= laut), None)
    text = (f"{was}: played {von - t0} ms into the recording for {bis - von} ms; "
            f"peak {db(spitze):.1f} dBFS, {db(ruhe):.1f} dBFS in the second before")
    if einsatz is not None:
        text += f", heard {einsatz * 10 - 300:+d} ms from its start"
    print(text)
    if spitze < laut:
        print(f"  FAIL: {was} is not heard (below {db(laut):.0f} dBFS)")
        fehler += 1
    if ruhe >= still:
        print(f"  FAIL: sound before {was} was played")
        fehler += 1
sys.exit(1 if fehler else 0)
EOF
  fail "the recording does not hold the sounds at their moments"
grep -c . "$work/zeiten.txt" | grep -q '^4$' || fail "not every sound was played: $(cat "$work/zeiten.txt")"
echo "PASS"
