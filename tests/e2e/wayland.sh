#!/usr/bin/env bash
# The card on a native Wayland session, with no X server for the program: weston headless
# (pixman renderer), the program on Qt's Wayland platform, screen-saver mode with the
# single user subtitle 一二三 / 四五 at Wait 300. The card is typed and ends by itself after
# its hold; screenshots show a character and the finished card, white on black over the
# whole output; the typing heard keeps the cadence, each pause counted from the moment
# its character is up; and a compositor that stops answering does not stop the card.
# Usage: wayland.sh PATH/TO/quillon
source "$(dirname "$0")/lib.sh"
program=$1
command -v weston >/dev/null && command -v weston-screenshooter >/dev/null ||
  e2e_fail "weston is not installed (tools/install-deps)"

E2E_DIR=$(mktemp -d)
wayland_cleanup() {
  if [ -n "${WESTON_PID:-}" ]; then
    kill -CONT "$WESTON_PID" 2>/dev/null
    kill "$WESTON_PID" 2>/dev/null && wait "$WESTON_PID" 2>/dev/null
  fi
  e2e_cleanup
}
trap wayland_cleanup EXIT
cp "$program" "$E2E_DIR/quillon"
export XDG_CONFIG_HOME="$E2E_DIR/config"
export LANG=C.UTF-8
unset LANGUAGE LC_ALL LC_MESSAGES DISPLAY
export XDG_RUNTIME_DIR="$E2E_DIR/run"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=quillon-e2e
export QT_QPA_PLATFORM=wayland
SHOTS="$E2E_DIR/shots"
mkdir "$SHOTS"

# The headless output's flip takes a fixed 16 ms and weston repaints a refresh less its
# repaint window after it: a window of 16 ms makes it refresh at 60 Hz as a display does.
printf '[core]\nrepaint-window=16\nidle-time=0\n' >"$E2E_DIR/weston.ini"
weston --backend=headless-backend.so --use-pixman --debug --config="$E2E_DIR/weston.ini" \
  --width=1024 --height=768 --socket="$WAYLAND_DISPLAY" --log="$E2E_DIR/weston.log" &
WESTON_PID=$!
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
  kill -0 "$WESTON_PID" 2>/dev/null || break
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || e2e_fail "weston did not start: $(tail -5 "$E2E_DIR/weston.log")"

# The only subtitle the die can take; StartWait 1000, Wait 300.
printf '\x88\xea\x93\xf1\x8e\x4f \x8e\x6c\x8c\xdc\r\n' >"$E2E_DIR/mine.qln"
printf '[File]\r\nUserFile=%s\r\n[Option]\r\nDiceMode=2\r\nWait=300\r\nStartWait=1000\r\n' \
  "$E2E_DIR/mine.qln" >"$E2E_DIR/Quillon.ini"
e2e_fine_sound_capture

# shoot: a screenshot of the output; prints what it shows (black, character, card or
# other, with the reasons) and keeps the file as $SHOTS/last.png.
shoot() {
  rm -f "$SHOTS"/wayland-screenshot-*.png
  (cd "$SHOTS" && weston-screenshooter) >/dev/null 2>&1 || return 1
  mv "$SHOTS"/wayland-screenshot-*.png "$SHOTS/last.png" 2>/dev/null || return 1
  # Per pixel its darkest and its brightest channel: white is bright in both.
  convert "$SHOTS/last.png" -separate -evaluate-sequence min -depth 8 gray:"$SHOTS/min" &&
    convert "$SHOTS/last.png" -separate -evaluate-sequence max -depth 8 gray:"$SHOTS/max" ||
    return 1
  python3 - "$SHOTS/min" "$SHOTS/max" <<'PY'
import sys
lo, hi = (open(f, "rb").read() for f in sys.argv[1:3])
w, h = 1024, 768
if len(lo) != w * h:
    sys.exit("not a %dx%d output" % (w, h))
dark = bytes(range(0, 41))
white = len(lo.translate(None, bytes(range(0, 200))))  # every channel 200 or more
lit = len(hi.translate(None, dark))  # some channel above 40
colour = sum(1 for a, b in zip(lo[::7], hi[::7]) if b - a > 40)  # sampled
rows = [y for y in range(h) if hi[y * w:(y + 1) * w].translate(None, dark)]
cols = [x for x in range(w) if hi[x::w].translate(None, dark)]
if not rows:
    print("black")
    sys.exit()
box = (min(cols), min(rows), max(cols), max(rows))
cx, cy = (box[0] + box[2]) / 2, (box[1] + box[3]) / 2
why = "box %s, %d white of %d lit, %d coloured" % (box, white, lit, colour)
# Glyphs: white, anti-aliased at their edges only, nothing but black around them.
glyphs = white > 2000 and white >= lit / 3 and colour == 0
if glyphs and box[2] - box[0] < w * 0.45 and abs(cx - w / 2) < w * 0.1 and abs(cy - h / 2) < h * 0.1:
    print("character", why)
elif glyphs and box[2] - box[0] > w * 0.5:
    print("card", why)
else:
    print("other", why)
PY
}

# 1. The card, looked at while it runs: a character page, then the finished card.
now_ms() { date +%s%3N; }
(cd "$E2E_DIR" && exec ./quillon /s) >"$E2E_DIR/stdout.log" 2>&1 &
E2E_APP_PID=$!
deadline=$(($(now_ms) + 20000))
character="" card="" seen=() shot_at=0
while [ -z "$card" ] && [ "$(now_ms)" -lt "$deadline" ] && e2e_is_running; do
  before=$shot_at shot_at=$(now_ms)
  what=$(shoot) || continue
  seen+=("${what%% *}")
  case "$what" in
  character*) [ -n "$character" ] || { character=$what; cp "$SHOTS/last.png" "$E2E_ARTIFACTS/wayland-character.png"; } ;;
  # It went up after the shot before this one began, and before this one ended.
  card*) card=$what card_after=$before card_by=$(now_ms); cp "$SHOTS/last.png" "$E2E_ARTIFACTS/wayland-card.png" ;;
  esac
done
echo "seen: ${seen[*]}"
echo "character page: $character"
echo "card: $card"
[ -n "$character" ] || e2e_fail "no character page reached the output (saw: ${seen[*]})"
[ -n "$card" ] || e2e_fail "the finished card never reached the output (saw: ${seen[*]})"
# The hold is 7 s from the card; the program ends by itself once it has run out.
e2e_wait_exit 15 || e2e_fail "screen-saver mode did not end after its hold"
ended=$(now_ms)
echo "ended $((ended - card_by)) to $((ended - card_after)) ms after the card went up"
[ $((ended - card_after)) -ge 7000 ] || e2e_fail "the program ended before the card's hold ran out"
[ $((ended - card_by)) -le 9000 ] || e2e_fail "the program ended long after the card's hold"

# 2. The cadence heard, in a run nothing looks at meanwhile.
rm -f "$E2E_WAVE"
(cd "$E2E_DIR" && exec ./quillon /s) >"$E2E_DIR/stdout.log" 2>&1 &
E2E_APP_PID=$!
e2e_wait_exit 25 || e2e_fail "the second card did not end by itself"
[ -s "$E2E_WAVE" ] || e2e_fail "no sound captured"
cp "$E2E_WAVE" "$E2E_ARTIFACTS/wayland-sound.wav"
sox "$E2E_WAVE" -t raw -r 48000 -c 1 -e signed -b 16 "$E2E_DIR/capture.raw" 2>/dev/null
e2e_onsets "$E2E_DIR/capture.raw" 48000 >"$E2E_DIR/onsets.txt"
python3 "$(dirname "$0")/heard_cadence.py" "$E2E_DIR/onsets.txt" ||
  e2e_fail "the typing does not keep its cadence on Wayland"
# The sound goes on until the program ends: the sting's onset is 7 s before that at least.
python3 - "$E2E_DIR/onsets.txt" "$(soxi -D "$E2E_WAVE")" <<'PY' || e2e_fail "the hold was cut short"
import sys
onsets = [float(l) for l in open(sys.argv[1])]
card, end = onsets[5], float(sys.argv[2]) * 1000
print("the card at %.0f ms, the program ended %.0f ms later" % (card, end - card))
sys.exit(0 if end - card >= 7000 - 5 else "held %.0f ms" % (end - card))
PY
# 3. A compositor that stops answering during the typing: the card goes on at the screen's
# rate, every cue is heard, and it ends when it would have.
rm -f "$E2E_WAVE"
started=$(now_ms)
(cd "$E2E_DIR" && exec ./quillon /s) >"$E2E_DIR/stdout.log" 2>&1 &
E2E_APP_PID=$!
sleep 1.5 # into the typing
kill -STOP "$WESTON_PID"
sleep 4
kill -CONT "$WESTON_PID"
e2e_wait_exit 20 || e2e_fail "the card stopped with the compositor"
took=$(($(now_ms) - started))
echo "the card with a silent compositor took $took ms"
[ "$took" -lt 14000 ] || e2e_fail "the card waited for the compositor ($took ms)"
sox "$E2E_WAVE" -t raw -r 48000 -c 1 -e signed -b 16 "$E2E_DIR/capture.raw" 2>/dev/null
e2e_onsets "$E2E_DIR/capture.raw" 48000 >"$E2E_DIR/onsets.txt"
[ "$(wc -l <"$E2E_DIR/onsets.txt")" -ge 6 ] ||
  e2e_fail "cues went missing while the compositor was silent: $(tr '\n' ' ' <"$E2E_DIR/onsets.txt")"
echo "PASS: wayland"
