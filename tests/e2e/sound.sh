#!/usr/bin/env bash
# Sound of a card in the real program: OpenAL writes what it plays to a wave file; a
# short subtitle must give one typing cue per character, then the closing sting.
# Usage: sound.sh PATH/TO/quillon
source "$(dirname "$0")/lib.sh"

e2e_start "$1"
e2e_run
main=$(e2e_wait_window "Quillon for DirectX" 15) || e2e_fail "main window did not appear"
sleep 1
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
# Into the line 1 field (the window is a fixed 277 × 225).
xdotool mousemove --window "$main" 130 68 click 1
sleep 0.3
xdotool type --delay 50 "ABC"
e2e_shot sound-typed >/dev/null
xdotool key Return
# Settling pause 1.5 s, three characters, the card, then the whole sting.
sleep 8.5
e2e_dismiss_and_quit

[ -s "$E2E_WAVE" ] || e2e_fail "no sound captured"
cp "$E2E_WAVE" "$E2E_ARTIFACTS/sound-capture.wav"
sox "$E2E_WAVE" -n spectrogram -x 1200 -y 300 -t "card ABC" -o "$E2E_ARTIFACTS/sound-capture.png"
sox "$E2E_WAVE" -t raw -r 8000 -c 1 -e signed -b 16 "$E2E_DIR/capture.raw" 2>/dev/null

# Levels in 10 ms windows. The sting is the longest stretch of sound (over 2 s); in the
# 2 s before it there is an onset (a sharp rise in level) for each typed character.
python3 - "$E2E_DIR/capture.raw" <<'PY' || e2e_fail "capture lacks the typing cues or the sting"
import array, math, sys
data = array.array("h", open(sys.argv[1], "rb").read())
win = 80
levels = [math.sqrt(sum(x * x for x in data[i:i + win]) / win) for i in range(0, len(data) - win, win)]
runs, start = [], None
for i, on in enumerate([v > 300 for v in levels] + [False]):
    if on and start is None:
        start = i
    if not on and start is not None:
        runs.append((start, i))
        start = None
sting = max(runs, key=lambda r: r[1] - r[0], default=None)
if not sting or (sting[1] - sting[0]) * 0.01 < 2.0:
    sys.exit("no sting")
onsets, last = [], -100
for i in range(3, len(levels)):
    if levels[i] > 1000 and levels[i] > 4 * max(levels[i - 3], 30) and i - last > 8:
        onsets.append(i)
        last = i
before = [i for i in onsets if sting[0] - 200 <= i < sting[0] - 1]
print("onsets (s):", [round(i * 0.01, 2) for i in onsets])
print("sting at %.2f s lasting %.2f s; %d onsets in the 2 s before it"
      % (sting[0] * 0.01, (sting[1] - sting[0]) * 0.01, len(before)))
if len(before) < 3:
    sys.exit("too few typing cues")
PY
echo "PASS: sound"
