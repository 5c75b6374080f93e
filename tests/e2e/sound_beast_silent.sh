#!/usr/bin/env bash
# A beast card is followed by the savanna and the animal calls; with the Silent setting
# on, a whole run is silent and no soundscape follows.
# Usage: sound_beast_silent.sh PATH/TO/quillon
source "$(dirname "$0")/lib.sh"

# levels FILE: RMS level of every 10 ms of a capture, one per line.
levels() {
  sox "$1" -t raw -r 8000 -c 1 -e signed -b 16 "$1.raw" 2>/dev/null
  python3 - "$1.raw" <<'PY'
import array, math, sys
data = array.array("h", open(sys.argv[1], "rb").read())
for i in range(0, len(data) - 80, 80):
    print(int(math.sqrt(sum(x * x for x in data[i:i + 80]) / 80)))
PY
}

# run_card TEXT: types TEXT into line 1, runs the card and dismisses it once shown.
run_card() {
  main=$(e2e_wait_window "Quillon for DirectX" 15) || e2e_fail "main window did not appear"
  sleep 1
  xdotool mousemove --window "$main" 130 68 click 1
  e2e_paste "$1"
  start=$(date +%s.%N)
  xdotool key Return
  e2e_wait_active_size 1024 768 10 || e2e_fail "no card"
  sleep 5.5 # start wait and two slow beast characters; the card with its closing cue
  xdotool key space
  e2e_wait_active_size 277 225 10 || e2e_fail "the main window is not back"
}

# --- beast card, sound on ---------------------------------------------------
e2e_start "$1"
e2e_run
run_card "獣王"
dismissed=$(date +%s.%N)
sleep 9 # the savanna starts 2.5 s after leaving the card, the first call 2.5 s later
escaped=$(date +%s.%N)
xdotool key Escape
e2e_wait_exit 10 || e2e_fail "program did not end on Esc"
cp "$E2E_WAVE" "$E2E_ARTIFACTS/sound-beast.wav"
sox "$E2E_WAVE" -n spectrogram -x 1200 -y 300 -t "beast card, then the soundscape" -o "$E2E_ARTIFACTS/sound-beast.png"
# From 3.5 s to 8 s after leaving the card the savanna loops: sound nearly throughout.
# The capture ends when the program does, right after Esc; a loaded machine delays the
# start of the program far more than its end, so the window is counted from the end.
length=$(soxi -D "$E2E_WAVE")
from=$(python3 -c "print(int(($length - ($escaped - $dismissed) + 3.5) * 100))")
to=$(python3 -c "print(int(($length - ($escaped - $dismissed) + 8.0) * 100))")
levels "$E2E_WAVE" | awk -v a="$from" -v b="$to" 'NR > a && NR <= b { n++; if ($1 > 60) s++ }
  END { printf "soundscape: %d of %d windows sounding\n", s, n; exit !(n > 0 && s >= 0.9 * n) }' \
  || e2e_fail "no soundscape after the beast card"
e2e_cleanup
E2E_APP_PID="" E2E_WM_PID="" E2E_X_PID="" E2E_DIR=""

# --- the same card with Silent on ---------------------------------------------
e2e_start "$1"
printf '[Option]\r\nSilent=1\r\n' >"$E2E_DIR/Quillon.ini"
e2e_run
run_card "獣王"
sleep 6
xdotool key Escape
e2e_wait_exit 10 || e2e_fail "program did not end on Esc"
cp "$E2E_WAVE" "$E2E_ARTIFACTS/sound-silent.wav"
levels "$E2E_WAVE" | awk '{ if ($1 > m) m = $1; n++ } END { printf "silent run: %d windows, loudest %d\n", n, m; exit !(n > 500 && m < 10) }' \
  || e2e_fail "the silent run made sound"
echo "PASS: sound of a beast card, and silence"
