#!/usr/bin/env bash
# Export of a card to files by the real program: from the command line without any
# display, checked with ffprobe, by the sound's onsets and by pixels; the failures and
# a Ctrl+C leave nothing behind; and from the window with Ctrl+E.
# Usage: export.sh PATH/TO/quillon
source "$(dirname "$0")/lib.sh"
PROGRAM=$1

e2e_start "$PROGRAM" 1024x768
OUT="$E2E_DIR/out"
mkdir -p "$OUT"

leftovers() { find "$OUT" -name '.*.part' | wc -l; }

# The card "ABC" / "DE" of lib.sh, its cadence fixed by the initial settings.
for fmt in mp4 webm; do
  e2e_export "$OUT/card.$fmt" --size 1280x720 ABC DE || e2e_fail "$fmt export failed: $(cat "$E2E_DIR/export.err")"
  grep -q "^書き出し中 50%" "$E2E_DIR/export.err" || e2e_fail "no progress lines: $(cat "$E2E_DIR/export.err")"
  grep -q "^書き出しました: " "$E2E_DIR/export.err" || e2e_fail "no closing line"
  cp "$OUT/card.$fmt" "$E2E_ARTIFACTS/export-card.$fmt"
  case $fmt in mp4) want="h264 aac" ;; webm) want="vp9 opus" ;; esac
  got=$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$OUT/card.$fmt" | tr '\n' ' ' | xargs)
  [ "$got" = "$want" ] || e2e_fail "$fmt codecs are '$got', not '$want'"
  size=$(ffprobe -v error -select_streams v -show_entries stream=width,height,pix_fmt -of csv=p=0 "$OUT/card.$fmt")
  [ "$size" = "1280,720,yuv420p" ] || e2e_fail "$fmt video is $size"
  duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$OUT/card.$fmt")
  python3 - "$duration" "$E2E_LENGTH_MS" <<'PY' || e2e_fail "$fmt lasts ${duration} s, not ${E2E_LENGTH_MS} ms"
import sys
got, want = float(sys.argv[1]) * 1000, int(sys.argv[2])
sys.exit(0 if abs(got - want) <= 34 else 1)   # one frame at 30 fps
PY

  # The typing cues and the sting, found in the decoded sound, within 15 ms of their ticks.
  e2e_cues_on_cadence "$OUT/card.$fmt" 15 || e2e_fail "$fmt: the cues are not on the cadence"
done

# The same seed gives the same card; Japanese lines go in as the locale's text.
e2e_export "$OUT/a.mp4" --size 640x360 --seed 42 "春の夜の夢の" "浮橋とだえして" || e2e_fail "seeded export failed"
e2e_export "$OUT/b.mp4" --size 640x360 --seed 42 "春の夜の夢の" "浮橋とだえして" || e2e_fail "seeded export failed"
[ "$(ffmpeg -v error -i "$OUT/a.mp4" -f framemd5 - | md5sum)" = "$(ffmpeg -v error -i "$OUT/b.mp4" -f framemd5 - | md5sum)" ] ||
  e2e_fail "one seed gave two different cards"

# The picture: line 1 flush left in the upper half, line 2 flush right in the lower
# half, sharp edges; and the video's frame from the card's time is the same picture.
e2e_export "$OUT/card.png" --size 1280x720 ABC DE || e2e_fail "png export failed: $(cat "$E2E_DIR/export.err")"
cp "$OUT/card.png" "$E2E_ARTIFACTS/export-card.png"
convert "$OUT/card.png" -colorspace Gray -depth 8 gray:"$E2E_DIR/card.gray"
python3 - "$E2E_DIR/card.gray" 1280 720 <<'PY' || e2e_fail "the picture is not the card"
import sys
w, h = int(sys.argv[2]), int(sys.argv[3])
px = open(sys.argv[1], "rb").read()
def box(y0, y1):
    xs = [x for y in range(y0, y1) for x in range(w) if px[y * w + x] > 128]
    ys = [y for y in range(y0, y1) for x in range(w) if px[y * w + x] > 128]
    return (min(xs), max(xs), min(ys), max(ys)) if xs else None
top, bottom = box(0, h // 2), box(h // 2, h)
print("line 1", top, "line 2", bottom)
if not top or not bottom: sys.exit("a line is missing")
# A space of margin on the outer side of each line, whatever the font's widths.
if top[0] > w // 4 or top[0] >= bottom[0]: sys.exit("line 1 is not flush left")
if bottom[1] < w * 3 // 4 or bottom[1] <= top[1]: sys.exit("line 2 is not flush right")
white = sum(1 for v in px if v > 225)
grey = sum(1 for v in px if 30 < v <= 225)
print("white %d, edge grey %d" % (white, grey))
if grey > white * 0.5: sys.exit("edges are blurred")
PY
ffmpeg -v error -y -ss $(( (E2E_CARD_MS + 1000) / 1000 )).$(( (E2E_CARD_MS + 1000) % 1000 )) -i "$OUT/card.mp4" -frames:v 1 "$E2E_DIR/frame.png"
cp "$E2E_DIR/frame.png" "$E2E_ARTIFACTS/export-frame.png"
psnr=$(compare -metric PSNR "$OUT/card.png" "$E2E_DIR/frame.png" null: 2>&1 || true)
python3 -c "import sys; v=sys.argv[1]; sys.exit(0 if v == 'inf' or float(v) >= 35 else 1)" "$psnr" ||
  e2e_fail "the video's card differs from the picture (PSNR $psnr dB)"

# Failures: a clear message, a non-zero status, nothing left in the folder.
status_of() { set +e; e2e_export "$@"; echo $?; set -e; }
[ "$(status_of "$OUT/x.avi" A)" = 2 ] || e2e_fail "an unknown extension is not bad usage"
[ "$(status_of "$OUT/x.mp4" --size 641x480 A)" = 2 ] || e2e_fail "an odd H.264 size is not bad usage"
[ "$(status_of "$OUT/x.mp4" --size 0x0 A)" = 2 ] || e2e_fail "a zero size is not bad usage"
[ "$(status_of "$OUT/no/x.mp4" A)" = 1 ] || e2e_fail "an unwritable path did not fail"
grep -q "に書き込めません" "$E2E_DIR/export.err" || e2e_fail "unwritable: $(cat "$E2E_DIR/export.err")"
# A PNG sequence whose folder cannot be made (under a file; root passes any mode), read
# in English: an English message, status 1, no stage left beside it.
set +e
LANG=en_US.UTF-8 LC_ALL= e2e_export "$OUT/card.png/frames/" A
status=$?
set -e
[ "$status" = 1 ] && grep -q "quillon: Cannot write to $OUT/card.png/frames" "$E2E_DIR/export.err" &&
  ! LC_ALL=C.UTF-8 grep -qP '[\x{3040}-\x{30ff}\x{4e00}-\x{9fff}]' "$E2E_DIR/export.err" ||
  e2e_fail "unwritable sequence, in English: status $status, $(cat "$E2E_DIR/export.err")"
mkdir -p "$E2E_DIR/nopath"
ln -sf "$(command -v env)" "$E2E_DIR/nopath/env"
set +e
(cd "$E2E_DIR" && PATH="$E2E_DIR/nopath" env -u DISPLAY ./quillon --export "$OUT/x.mp4" A) 2>"$E2E_DIR/export.err"
status=$?
set -e
[ "$status" = 1 ] && grep -q "パッケージ ffmpeg" "$E2E_DIR/export.err" || e2e_fail "without ffmpeg: $(cat "$E2E_DIR/export.err")"

# ffmpeg killed half-way, and a Ctrl+C (soon: with each page sent once, a card takes
# about a second).
for how in kill-ffmpeg interrupt; do
  (cd "$E2E_DIR" && exec env -u DISPLAY ./quillon --export "$OUT/x.mp4" --size 3840x2160 "長い長い長い長い長い" "題名") \
    2>"$E2E_DIR/export.err" &
  pid=$!
  for _ in $(seq 100); do child=$(pgrep -P "$pid" ffmpeg || true); [ -n "$child" ] && break; sleep 0.1; done
  [ -n "$child" ] || e2e_fail "$how: ffmpeg did not start"
  sleep 0.2
  if [ "$how" = kill-ffmpeg ]; then kill -9 "$child"; want=1; else kill -INT "$pid"; want=130; fi
  set +e; wait "$pid"; status=$?; set -e
  [ "$status" = "$want" ] || e2e_fail "$how: status $status, not $want ($(cat "$E2E_DIR/export.err"))"
  wait_until 2 "$how: ffmpeg still runs" e2e_gone "$child"
done

# A full disk (a small file system of its own, where mounting is allowed): the card's
# files are larger than it (about 200 KB as WebM, 400 KB as MP4).
if [ "$(id -u)" = 0 ] && mkdir -p "$E2E_DIR/full" && mount -t tmpfs -o size=64k tmpfs "$E2E_DIR/full" 2>/dev/null; then
  for fmt in mp4 webm; do
    [ "$(status_of "$E2E_DIR/full/x.$fmt" --size 1920x1080 "ABC" "DE")" = 1 ] || { umount "$E2E_DIR/full"; e2e_fail "a full disk did not fail ($fmt)"; }
  done
  n=$(ls -A "$E2E_DIR/full" | wc -l)
  umount "$E2E_DIR/full"
  [ "$n" = 0 ] || e2e_fail "a full disk left $n files"
fi
[ -z "$(ls -A "$OUT" | grep -v -E '^(card\.(mp4|webm|png)|a\.mp4|b\.mp4)$')" ] || e2e_fail "left behind: $(ls -A "$OUT")"

# From the window: the two lines, Ctrl+E, the save chooser, then the file.
e2e_run
e2e_main_window_lines "窓から" "書き出す" >/dev/null
xdotool key ctrl+e
chooser=$(e2e_wait_window "カードを書き出す" 10) || e2e_fail "no save chooser on Ctrl+E"
e2e_shot export-chooser >/dev/null
xdotool key ctrl+a
xdotool type --delay 20 "$OUT/window.webm"
xdotool key Return
for _ in $(seq 300); do [ -s "$OUT/window.webm" ] && break; sleep 0.2; done
e2e_shot export-window-done >/dev/null
[ "$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$OUT/window.webm" | tr '\n' ' ' | xargs)" = "vp9 opus" ] ||
  e2e_fail "the window's export is not a WebM with sound"
e2e_is_running || e2e_fail "the program ended"
echo "PASS: export"
