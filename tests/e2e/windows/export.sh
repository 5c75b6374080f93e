#!/usr/bin/env bash
# The export of the Windows build under Wine, with an ffmpeg.exe made for testing (only
# ffmpeg's own encoders: PNG, GIF, ProRes, PCM, AAC) put beside the program, where a
# Windows user puts it: a PNG, a GIF and a transparent MOV with sound, each read by the
# Linux ffprobe as the Linux build's are. Without ffmpeg.exe beside it or on PATH, a
# video is refused with a message naming where it looked, and nothing is left.
# Usage: export.sh [BUILD-FOLDER]
source "$(dirname "$0")/lib.sh"
win_start "${1:-}"
export LANG=en_US.UTF-8
ffmpeg_exe=${QUILLON_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillon-windows}/ffmpeg-win64/ffmpeg.exe
[ -f "$ffmpeg_exe" ] || e2e_fail "no $ffmpeg_exe: run tools/build-windows"

# win_export ARGS...: quillon.exe --export ARGS from the test's folder, no X display.
win_export() {
  (cd "$E2E_DIR" && env -u DISPLAY "$WIN_ROOT/tools/windows-wine" ./quillon.exe --export "$@") \
    >"$E2E_DIR/export.out" 2>"$E2E_DIR/export.err"
}
probe() {
  ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,pix_fmt,sample_rate \
    -show_entries format=duration -of compact "$E2E_DIR/$1"
}

status=0
win_export card.mov 一二三 四五 || status=$?
[ "$status" = 1 ] || e2e_fail "a MOV without ffmpeg.exe ended with status $status, not 1"
grep -qF "neither in $(win_path "$E2E_DIR") nor in a folder on PATH" "$E2E_DIR/export.err" ||
  e2e_fail "the message does not name where ffmpeg was looked for: $(cat "$E2E_DIR/export.err")"
[ -z "$(ls "$E2E_DIR" | grep -i card)" ] || e2e_fail "a refused export left $(ls "$E2E_DIR" | grep -i card)"

cp "$ffmpeg_exe" "$E2E_DIR/"
win_export card.png --size 640x480 一二三 四五 || e2e_fail "PNG export failed: $(cat "$E2E_DIR/export.err")"
# has FIELDS... : the probe's line for a stream has every field named.
has() {
  local line=$1 field
  shift
  for field in "$@"; do [[ "|$line|" == *"|$field|"* ]] || return 1; done
}
has "$(probe card.png | head -n 1)" codec_name=png width=640 height=480 || e2e_fail "card.png: $(probe card.png)"
win_export card.gif --size 640x480 一二三 四五 || e2e_fail "GIF export failed: $(cat "$E2E_DIR/export.err")"
has "$(probe card.gif | head -n 1)" codec_name=gif width=640 height=480 || e2e_fail "card.gif: $(probe card.gif)"
win_export card.mov --transparent --size 640x480 一二三 四五 ||
  e2e_fail "MOV export failed: $(cat "$E2E_DIR/export.err")"
mov=$(probe card.mov)
echo "$mov"
has "$(echo "$mov" | grep codec_type=video)" codec_name=prores width=640 height=480 \
  pix_fmt=yuva444p12le || e2e_fail "card.mov has no ProRes picture with alpha"
has "$(echo "$mov" | grep codec_type=audio)" codec_name=pcm_s16le sample_rate=48000 ||
  e2e_fail "card.mov has no 48 kHz PCM sound"
# Mixed without OpenAL Soft, the typing cues and the sting fall on the card's cadence to
# the millisecond, as in the Linux build's export (一二三 / 四五 types as "ABC" / "DE" does).
e2e_cues_on_cadence "$E2E_DIR/card.mov" 2 || e2e_fail "card.mov's cues are off the cadence"
echo "export.sh: passed"
