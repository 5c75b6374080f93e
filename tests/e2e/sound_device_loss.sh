#!/usr/bin/env bash
# A lost sound device comes back: the program plays through a private PulseAudio server
# (OpenAL's pulse driver) into a null sink. During the soundscape after a beast card the
# server is killed and, two seconds later, started again. The program stays up, shows
# no error box, and the soundscape is heard again in the sink within 5 s of the restart.
# Usage: sound_device_loss.sh PATH/TO/quillon
source "$(dirname "$0")/lib.sh"

e2e_start "$1"
cat >"$E2E_DIR/alsoft.conf" <<CONF
[general]
drivers = pulse
[pulse]
spawn-server = false
CONF

# start_pulse: the server, with the null sink "quillon", ready for clients.
start_pulse() {
  e2e_start_pulse
  PULSE_PID=$E2E_PULSE_PID SILENCE_PID=$E2E_SILENCE_PID
}

# record SECONDS FILE: what the sink plays, as 16-bit mono at 22050 Hz; prints the wall
# time of the first sample (a client takes a while to connect).
record() {
  { timeout "$1" parec -d quillon.monitor --format=s16le --rate=22050 --channels=1 --raw \
    --latency-msec=20 2>/dev/null || true; } | python3 -c '
import os, sys, time
first = None
with open(sys.argv[1], "wb") as out:
    while True:
        chunk = os.read(0, 4096)
        if not chunk:
            break
        if first is None:
            first = time.time() - len(chunk) / 44100
        out.write(chunk)
print("%.3f" % (first or 0))' "$2"
}

# sounding FILE: the seconds from the start of a recording at which 50 ms windows are
# above the noise floor, as "first_sound sounding_fraction_after_it".
sounding() {
  python3 - "$1" <<'PY'
import array, math, sys
data = array.array("h", open(sys.argv[1], "rb").read())
n = 1102
levels = [math.sqrt(sum(x * x for x in data[i:i + n]) / n) for i in range(0, len(data) - n, n)]
on = [v > 100 for v in levels]
first = next((i for i, v in enumerate(on) if v), None)
if first is None:
    print("none 0")
else:
    after = on[first:]
    print("%.2f %.2f" % (first * 0.05, sum(after) / len(after)))
PY
}

cleanup_pulse() {
  [ -n "${SILENCE_PID:-}" ] && kill "$SILENCE_PID" 2>/dev/null || true
  [ -n "${PULSE_PID:-}" ] && kill "$PULSE_PID" 2>/dev/null || true
  e2e_cleanup
}
trap cleanup_pulse EXIT

start_pulse
e2e_run
main=$(e2e_wait_window "Quillon for DirectX" 15) || e2e_fail "main window did not appear"
sleep 1
xdotool mousemove --window "$main" 130 68 click 1
e2e_paste "獣王"
xdotool key Return
e2e_wait_active_size 1024 768 10 || e2e_fail "no card"
sleep 5.5 # start wait and two slow beast characters; the card with its closing cue
xdotool key space
e2e_wait_active_size 277 225 10 || e2e_fail "the main window is not back"
sleep 3.5 # the savanna starts 2.5 s after leaving the card

record 3 "$E2E_DIR/before.raw" >/dev/null
read -r first fraction < <(sounding "$E2E_DIR/before.raw")
echo "before the loss: sound from ${first} s, ${fraction} of it sounding"
[ "$first" != none ] || e2e_fail "the soundscape is not heard in the sink before the loss"

# The server dies (as when it crashes or is restarted) and comes back two seconds later.
kill -KILL "$PULSE_PID"
while kill -0 "$PULSE_PID" 2>/dev/null; do sleep 0.05; done
PULSE_PID="" SILENCE_PID="" E2E_PULSE_PID="" E2E_SILENCE_PID=""
sleep 2
e2e_is_running || e2e_fail "the program ended when the sound server went away"
restarted=$(date +%s.%N)
start_pulse
recording=$(record 7 "$E2E_DIR/after.raw")
cp "$E2E_DIR/after.raw" "$E2E_ARTIFACTS/sound-device-loss-after.raw"
sox -t raw -r 22050 -e signed -b 16 -c 1 "$E2E_DIR/after.raw" "$E2E_ARTIFACTS/sound-device-loss-after.wav"
sox "$E2E_ARTIFACTS/sound-device-loss-after.wav" -n spectrogram -x 1200 -y 300 \
  -t "after the sound server's restart" -o "$E2E_ARTIFACTS/sound-device-loss-after.png"
read -r first fraction < <(sounding "$E2E_DIR/after.raw")
[ "$first" != none ] || e2e_fail "no sound in the sink after the restart"
heard=$(python3 -c "print(round($recording - $restarted + $first, 2))")
echo "after the restart: sound heard by ${heard} s after it (the recording began" \
  "$(python3 -c "print(round($recording - $restarted, 2))") s after it), ${fraction} of the rest sounding"
python3 -c "import sys; sys.exit(not ($heard <= 5.0 and $fraction >= 0.8))" ||
  e2e_fail "sound came back after $heard s, or only in part ($fraction): the loop did not resume"

e2e_is_running || e2e_fail "the program ended"
boxes=$(xdotool search --onlyvisible --name "^Quillon for DirectX\$" 2>/dev/null | wc -l)
[ "$boxes" -eq 1 ] || e2e_fail "$boxes windows named Quillon for DirectX: an error box is up"
e2e_shot sound-device-loss >/dev/null
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key Escape
e2e_wait_exit 10 || e2e_fail "program did not end on Esc"
echo "PASS: sound comes back after the sound server's restart"
