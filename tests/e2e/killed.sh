#!/usr/bin/env bash
# A program killed outright (SIGKILL: no clean-up runs) in the middle of writing a file
# leaves nothing behind once it writes again or starts again: an MP4 export killed
# half-way, then a second export to the same name; one killed, then an export of another
# file into that folder; the same for a PNG sequence's folder; a pencil save killed after the new
# file's bytes are written but before it replaces the old one, then a restart. The old
# files stay byte for byte.
# Usage: killed.sh PATH/TO/quillon
source "$(dirname "$0")/lib.sh"
e2e_start "$1" 1024x768
OUT="$E2E_DIR/out"
mkdir -p "$OUT"
parts() { find "$1" -name '.*.part' | wc -l; }
growing_part() { [ -n "$(find "$1" -name '.*.part' -size +16k)" ]; }
# stop_when PID COMMAND...: PID let run in short slices, stopped between them, until
# COMMAND succeeds; it is left stopped, so that it cannot finish between the look and the
# kill that follows (an export is done in about a second).
stop_when() {
  local pid=$1
  shift
  for _ in $(seq 3000); do
    kill -STOP "$pid" 2>/dev/null || return 1
    "$@" && return 0
    kill -CONT "$pid"
    sleep 0.02
  done
  return 1
}

# kill_export_midway NAME: an export of NAME into $OUT killed with SIGKILL once ffmpeg is
# writing it; left alone, ffmpeg then ends at the end of its input.
kill_export_midway() {
  (cd "$E2E_DIR" && exec env -u DISPLAY ./quillon --export "$OUT/$1" --size 1920x1080 "長い長い長い長い長い" "題名") \
    2>"$E2E_DIR/export.err" &
  local pid=$! ffmpeg_pid
  stop_when "$pid" growing_part "$OUT" || e2e_fail "the export of $1 wrote nothing: $(cat "$E2E_DIR/export.err")"
  ffmpeg_pid=$(pgrep -P "$pid" ffmpeg || true)
  kill -9 "$pid"
  wait "$pid" 2>/dev/null || true
  [ -z "$ffmpeg_pid" ] || wait_until 30 "ffmpeg runs on" e2e_gone "$ffmpeg_pid"
}

# -- An export killed half-way, over an older file of that name.
printf 'old video' >"$OUT/x.mp4"
cp "$OUT/x.mp4" "$E2E_DIR/x.mp4.before"
kill_export_midway x.mp4
[ "$(parts "$OUT")" = 1 ] || e2e_fail "no file was being written when the export was killed: $(ls -A "$OUT" | tr '\n' ' ')"
cmp -s "$OUT/x.mp4" "$E2E_DIR/x.mp4.before" || e2e_fail "the killed export changed the older file"

(cd "$E2E_DIR" && exec env -u DISPLAY ./quillon --export "$OUT/x.mp4" --size 640x360 "次" "の題") \
  2>"$E2E_DIR/export.err" || e2e_fail "the second export failed: $(cat "$E2E_DIR/export.err")"
[ "$(parts "$OUT")" = 0 ] || e2e_fail "left behind after the second export: $(ls -A "$OUT")"
[ "$(ls -A "$OUT")" = x.mp4 ] || e2e_fail "in the folder: $(ls -A "$OUT")"
[ "$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$OUT/x.mp4" | tr '\n' ' ' | xargs)" = "h264 aac" ] ||
  e2e_fail "the second export is not a whole MP4"

# -- An export killed half-way leaves its file to the next write into the folder, whatever
# file that writes.
kill_export_midway k.mp4
[ -n "$(find "$OUT" -name '.k.mp4.*.part')" ] || e2e_fail "no file was being written when k.mp4's export was killed"
(cd "$E2E_DIR" && exec env -u DISPLAY ./quillon --export "$OUT/other.png" "次" "の題") \
  2>"$E2E_DIR/export.err" || e2e_fail "the export of another file failed: $(cat "$E2E_DIR/export.err")"
[ "$(ls -A "$OUT" | tr '\n' ' ' | xargs)" = "other.png x.mp4" ] || e2e_fail "after an export of another file: $(ls -A "$OUT")"
rm "$OUT/other.png"

# -- A PNG sequence killed half-way: its hidden stage goes with the next export there.
(cd "$E2E_DIR" && exec env -u DISPLAY ./quillon --export "$OUT/seq/" --size 1920x1080 "長い長い長い長い長い" "題名") \
  2>"$E2E_DIR/export.err" &
pid=$!
staged() { [ -n "$(find "$OUT" -mindepth 2 -path '*/.seq-*/*.png' 2>/dev/null)" ]; }
stop_when "$pid" staged || e2e_fail "the sequence wrote nothing: $(cat "$E2E_DIR/export.err")"
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
[ -n "$(find "$OUT" -maxdepth 1 -name '.seq-*')" ] || e2e_fail "no stage was left by the kill"
(cd "$E2E_DIR" && exec env -u DISPLAY ./quillon --export "$OUT/seq/" --size 160x120 "次" "の題") \
  2>"$E2E_DIR/export.err" || e2e_fail "the second sequence failed: $(cat "$E2E_DIR/export.err")"
[ "$(ls -A "$OUT" | tr '\n' ' ' | xargs)" = "seq x.mp4" ] || e2e_fail "after the second sequence: $(ls -A "$OUT")"
[ -z "$(find "$OUT/seq" -name '.*')" ] && [ -e "$OUT/seq/sound.wav" ] || e2e_fail "the sequence: $(ls -A "$OUT/seq")"
rm -rf "$OUT/seq"

# -- A pencil save killed half-way. The user file is large (100,000 subtitles, 2.6 MB),
# and the flush of the new file to the disk is held back for 20 s by strace, so the kill
# lands after the bytes are written and before the rename.
python3 - "$E2E_DIR/mine.qln" <<'PY'
import sys
with open(sys.argv[1], "wb") as f:
    for i in range(100000):
        f.write(b"SUBTITLE%06d LINE-TWO\r\n" % i)
PY
cp "$E2E_DIR/mine.qln" "$E2E_DIR/mine.qln.before"
printf '[File]\r\nUserFile=%s\r\n[Option]\r\nSilent=1\r\n' "$E2E_DIR/mine.qln" >"$E2E_DIR/Quillon.ini"
(cd "$E2E_DIR" && exec strace -f --seccomp-bpf -qq -o /dev/null -e trace=fsync \
  -e inject=fsync:delay_enter=20000000 ./quillon) >"$E2E_DIR/stdout.log" 2>&1 &
tracer=$!
main=$(e2e_wait_window "Quillon for DirectX" 30) || e2e_fail "main window did not appear"
pid=$(pgrep -P "$tracer" quillon) || e2e_fail "the program is not running under strace"
sleep 0.5
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 100 66 click 1
xdotool type --delay 50 "NEW"
# The pencil (230,32, 16 x 16).
xdotool mousemove --window "$main" 238 40 click 1
wait_until 20 "the save wrote nothing" growing_part "$E2E_DIR"
part=$(find "$E2E_DIR" -maxdepth 1 -name '.mine.qln.*.part')
size=$(stat -c %s "$part")
[ "$size" -gt "$(stat -c %s "$E2E_DIR/mine.qln")" ] || e2e_fail "the new file ($size bytes) is not written out yet"
e2e_shot killed-while-saving >/dev/null
kill -9 "$pid"
wait "$tracer" 2>/dev/null || true
[ "$(parts "$E2E_DIR")" = 1 ] || e2e_fail "no file was being written when the save was killed"
cmp -s "$E2E_DIR/mine.qln" "$E2E_DIR/mine.qln.before" || e2e_fail "the killed save changed the user file"

# -- A restart: the leftover goes, the user file is as it was and is read whole.
e2e_run
main=$(e2e_wait_window "Quillon for DirectX" 30) || e2e_fail "main window did not appear after the restart"
no_parts() { [ "$(parts "$1")" = 0 ]; }
wait_until 5 "a .part file is left behind after the restart" no_parts "$E2E_DIR"
cmp -s "$E2E_DIR/mine.qln" "$E2E_DIR/mine.qln.before" || e2e_fail "the restart changed the user file"
e2e_shot killed-restarted >/dev/null
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key Escape
e2e_wait_exit 10 || e2e_fail "program did not end"
[ "$(parts "$E2E_DIR")" = 0 ] || e2e_fail "left behind at the end"
echo "PASS: killed"
