#!/usr/bin/env bash
# Every page reaches the screen: the middle of the screen filmed at 250 frames a second.
# "A" / "BC" at Wait 0 shows A, B and C each with black between them (B's pause is 0);
# "ああ" shows the black page between its two equal characters. The typing heard in the
# captured sound keeps the cadence: each pause plus its character's two refreshes.
# Usage: pages.sh PATH/TO/quillon
source "$(dirname "$0")/lib.sh"
e2e_start "$1" 1024x768
e2e_fine_sound_capture

# film NAME SECONDS: films the middle of the screen into NAME.mkv, in the background.
film() {
  ffmpeg -v error -y -f x11grab -framerate 250 -video_size 320x320 -i "$DISPLAY+352,224" \
    -t "$2" -c:v ffv1 "$E2E_DIR/$1.mkv" &
  FILM_PID=$!
  sleep 0.5
}

# states NAME: the film's distinct pictures in order, each with the milliseconds it lasted
# (decoded at 1000 frames a second): a picture is "black", or a name for the fingerprint
# of its lit pixels.
states() {
  ffmpeg -v error -i "$E2E_DIR/$1.mkv" -vf fps=1000,scale=32:32:flags=area -f rawvideo -pix_fmt gray - |
    python3 -c '
import sys
data = sys.stdin.buffer.read()
out = []
for i in range(0, len(data) - 1023, 1024):
    f = data[i:i + 1024]
    lit = sum(1 for v in f if v > 100)
    key = "black" if lit == 0 else "lit:" + "".join("1" if v > 100 else "0" for v in f)
    if out and out[-1][0] == key:
        out[-1][1] += 1
    else:
        out.append([key, 1])
names = {}
for key, n in out:
    if key != "black" and key not in names:
        names[key] = "page%d" % (len(names) + 1)
    print(names.get(key, key), n)
'
}

# check_sequence distinct|repeated: the pictures after the first black one are a character,
# black, a character, black, a character (three different ones), or a character, black,
# and the same character again.
check_sequence() {
  python3 -c '
import sys
seq = [l.strip() for l in sys.stdin]
seq = seq[seq.index("black"):]
print("sequence:", " ".join(seq))
if sys.argv[1] == "distinct":
    pages = []
    for s in seq:
        if s != "black" and s not in pages:
            pages.append(s)
    if len(pages) < 3:
        sys.exit("only %d different pages: a character was never shown" % len(pages))
    want = ["black", pages[0], "black", pages[1], "black", pages[2]]
elif len(seq) >= 2:
    want = ["black", seq[1], "black", seq[1]]
else:
    want = ["black", "a character"]
if seq[:len(want)] != want:
    sys.exit("not %s: %s" % (want, seq[:8]))
' "$1"
}

# typed LINE1 LINE2 SETTINGS: the program started with these settings, the lines typed.
typed() {
  printf "$3" >"$E2E_DIR/Quillon.ini"
  e2e_run
  e2e_main_window_lines "$1" "$2" >/dev/null
}

finish() {
  sleep 1
  e2e_dismiss_and_quit
}

# 1. "A" / "BC" at Wait 0: the first character of line 2 has no pause at all.
typed "A" "BC" '[Option]\r\nWait=0\r\nStartWait=500\r\nSilent=1\r\n'
film abc 3
xdotool key Return
wait "$FILM_PID"
finish
states abc | tee "$E2E_ARTIFACTS/pages-abc.txt"
# After the main window: black, A, black, B, black, C (the card lies outside the middle).
states abc | awk '{print $1}' | check_sequence distinct ||
  e2e_fail "not every page of \"A\" / \"BC\" reached the screen"

# 2. "ああ" at Wait 120: two equal characters with the black page between them.
typed "ああ" "" '[Option]\r\nWait=120\r\nStartWait=500\r\nSilent=1\r\n'
film aa 2.5
xdotool key Return
wait "$FILM_PID"
finish
states aa | tee "$E2E_ARTIFACTS/pages-aa.txt"
states aa | awk '{print $1}' | check_sequence repeated ||
  e2e_fail "the black page between two equal characters did not reach the screen"

# 3. The cadence heard: 一二三 / 四五 at Wait 300, the only subtitle of a screen-saver card.
# Each pause counts from the moment its character is up, so each gap between two cues is
# the table's pause plus that character's two refreshes.
printf '\x88\xea\x93\xf1\x8e\x4f \x8e\x6c\x8c\xdc\r\n' >"$E2E_DIR/mine.qln"
printf '[File]\r\nUserFile=%s\r\n[Option]\r\nDiceMode=2\r\nWait=300\r\nStartWait=500\r\n' \
  "$E2E_DIR/mine.qln" >"$E2E_DIR/Quillon.ini"
rm -f "$E2E_WAVE"
e2e_run /s
e2e_wait_window "Quillon for DirectX" 15 >/dev/null || e2e_fail "no window in screen-saver mode"
# It ends by itself after the card's hold, with the captured sound written whole.
e2e_wait_exit 25 || e2e_fail "screen-saver mode did not end after its hold"
sox "$E2E_WAVE" -t raw -r 48000 -c 1 -e signed -b 16 "$E2E_DIR/capture.raw" 2>/dev/null
e2e_onsets "$E2E_DIR/capture.raw" 48000 >"$E2E_DIR/onsets.txt"
python3 "$(dirname "$0")/heard_cadence.py" "$E2E_DIR/onsets.txt" ||
  e2e_fail "the typing does not keep its cadence"
echo "PASS: pages"
