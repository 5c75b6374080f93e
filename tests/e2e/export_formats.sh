#!/usr/bin/env bash
# The export's other formats by the real program, without any display: each checked
# with ffprobe (codec, pixel format with alpha where asked), a transparent frame by its
# pixels, the GIF's frames and size, the PNG sequence's files and sound, the .mov's cues
# on the cadence, and --transparent refused for .mp4.
# Usage: export_formats.sh PATH/TO/quillon
source "$(dirname "$0")/lib.sh"
PROGRAM=$1

e2e_start "$PROGRAM" 640x480
OUT="$E2E_DIR/out"
mkdir -p "$OUT"
probe() { ffprobe -v error -show_entries "$2" -of csv=p=0 "$1" | tr '\n' ' ' | xargs; }
# Alpha of raw RGBA: 0 in the four corners, 255 somewhere (a glyph), some partial edges.
alpha_ok() {
  python3 - "$1" "$2" "$3" <<'PY'
import sys
w, h = int(sys.argv[2]), int(sys.argv[3])
d = open(sys.argv[1], "rb").read()
a = d[3::4]
corners = [a[0], a[w - 1], a[(h - 1) * w], a[h * w - 1]]
opaque = [i for i in range(w * h) if a[i] == 255]
print("corners", corners, "opaque", len(opaque), "partial", sum(1 for v in a if 0 < v < 255))
if any(corners): sys.exit("a corner is not transparent")
if not opaque: sys.exit("no opaque glyph")
if any(d[4 * i:4 * i + 3] != b"\xff\xff\xff" for i in opaque[:2000]): sys.exit("glyphs not white")
PY
}

# .mov: ProRes 4444 with alpha and PCM, every frame of the grid, its cues on the cadence.
e2e_export "$OUT/card.mov" --size 640x360 ABC DE || e2e_fail "mov: $(cat "$E2E_DIR/export.err")"
[ "$(probe "$OUT/card.mov" stream=codec_name)" = "prores pcm_s16le" ] || e2e_fail "mov codecs: $(probe "$OUT/card.mov" stream=codec_name)"
pix=$(probe "$OUT/card.mov" stream=pix_fmt | cut -d' ' -f1)
case $pix in yuva444p10le | yuva444p12le) ;; *) e2e_fail "mov pixels are $pix" ;; esac
frames=$(ffprobe -v error -select_streams v -count_packets -show_entries stream=nb_read_packets -of csv=p=0 "$OUT/card.mov")
[ "$frames" = $(((E2E_LENGTH_MS * 30 + 999) / 1000)) ] || e2e_fail "mov has $frames frames"
e2e_cues_on_cadence "$OUT/card.mov" 5 || e2e_fail "mov: the cues are not on the cadence"

# Transparent: .mov, .webm (VP9 with alpha), .png, a PNG sequence, .gif, .webp.
e2e_export "$OUT/clear.mov" --transparent --size 640x360 ABC DE || e2e_fail "clear mov"
ffmpeg -v error -y -ss 5 -i "$OUT/clear.mov" -frames:v 1 -f rawvideo -pix_fmt rgba "$E2E_DIR/f.raw"
alpha_ok "$E2E_DIR/f.raw" 640 360 || e2e_fail "mov alpha"
e2e_export "$OUT/clear.webm" --transparent --size 640x360 ABC DE || e2e_fail "clear webm"
[ "$(probe "$OUT/clear.webm" stream=codec_name)" = "vp9 opus" ] || e2e_fail "webm codecs"
[ "$(ffprobe -v error -select_streams v -show_entries stream_tags=alpha_mode -of csv=p=0 "$OUT/clear.webm")" = 1 ] || e2e_fail "no alpha in the VP9 stream"
ffmpeg -v error -y -ss 5 -c:v libvpx-vp9 -i "$OUT/clear.webm" -frames:v 1 -f rawvideo -pix_fmt rgba "$E2E_DIR/f.raw"
alpha_ok "$E2E_DIR/f.raw" 640 360 || e2e_fail "webm alpha"
e2e_export "$OUT/clear.png" --transparent --size 640x360 ABC DE || e2e_fail "clear png"
convert "$OUT/clear.png" rgba:"$E2E_DIR/f.raw" && alpha_ok "$E2E_DIR/f.raw" 640 360 || e2e_fail "png alpha"
cp "$OUT/clear.png" "$E2E_ARTIFACTS/export-clear.png"

# A PNG sequence: a file per frame at the rate, the last one the card, sound.wav beside.
e2e_export "$OUT/frames/f-%04d.png" --transparent --size 320x180 --fps 10 ABC DE || e2e_fail "sequence: $(cat "$E2E_DIR/export.err")"
n=$(ls "$OUT/frames" | grep -c '^f-[0-9]\{4\}\.png$')
[ "$n" = $(((E2E_LENGTH_MS + 99) / 100)) ] || e2e_fail "sequence has $n frames"
last=$(printf '%s/frames/f-%04d.png' "$OUT" $((n - 1)))
convert "$last" rgba:"$E2E_DIR/f.raw" && alpha_ok "$E2E_DIR/f.raw" 320 180 || e2e_fail "sequence alpha"
[ "$(probe "$OUT/frames/sound.wav" stream=codec_name,sample_rate,channels)" = "pcm_s16le,48000,2" ] || e2e_fail "no sound.wav"
d=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$OUT/frames/sound.wav")
python3 -c "import sys; sys.exit(abs(float('$d')*1000-$E2E_LENGTH_MS) > 100)" || e2e_fail "sound.wav lasts $d s"
[ -z "$(find "$OUT" -name '.*')" ] || e2e_fail "left behind: $(find "$OUT" -name '.*')"

# GIF: 640x480 of thirteen characters, looping, well under 1 MB; a frame per page.
e2e_export "$OUT/card.gif" --size 640x480 --seed 1 第一話怪しい影の 正体を追え || e2e_fail "gif"
cp "$OUT/card.gif" "$E2E_ARTIFACTS/export-card.gif"
[ "$(probe "$OUT/card.gif" stream=codec_name)" = gif ] || e2e_fail "not a gif"
bytes=$(stat -c %s "$OUT/card.gif")
[ "$bytes" -lt 300000 ] || e2e_fail "the GIF has $bytes bytes"
frames=$(identify "$OUT/card.gif" | wc -l)
# The start's black, each of the 13 characters, the card, and the card's last frame.
[ "$frames" -ge 15 ] && [ "$frames" -le 17 ] || e2e_fail "the GIF has $frames frames"
grep -q NETSCAPE2.0 "$OUT/card.gif" || e2e_fail "the GIF does not loop"
d=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$OUT/card.gif")
echo "gif: $bytes bytes, $frames frames, $d s"
e2e_export "$OUT/clear.gif" --transparent --loop 2 --size 640x480 ABC DE || e2e_fail "clear gif"
convert "$OUT/clear.gif" -coalesce "$E2E_DIR/g-%02d.png"
convert "$(ls "$E2E_DIR"/g-*.png | tail -1)" rgba:"$E2E_DIR/f.raw" && alpha_ok "$E2E_DIR/f.raw" 640 480 || e2e_fail "gif transparency"

# WebP: animated, lossless, no sound; transparent too.
e2e_export "$OUT/card.webp" --size 640x360 ABC DE || e2e_fail "webp"
[ "$(probe "$OUT/card.webp" stream=codec_name)" = webp ] || e2e_fail "not a webp"
[ "$(identify "$OUT/card.webp" | wc -l)" -ge 6 ] || e2e_fail "the WebP is not animated"
e2e_export "$OUT/clear.webp" --transparent --size 640x360 ABC DE || e2e_fail "clear webp"

# Style: yellow on blue.
e2e_export "$OUT/style.png" --color FFCC00 --background 000080 --size 640x360 ABC DE || e2e_fail "style"
[ "$(convert "$OUT/style.png" -format '%[pixel:p{1,1}]' info:)" = "srgb(0,0,128)" ] || e2e_fail "no blue background"
cp "$OUT/style.png" "$E2E_ARTIFACTS/export-style.png"

# H.264 has no alpha: refused with the reason, status 2, nothing written.
set +e; e2e_export "$OUT/x.mp4" --transparent A; status=$?; set -e
[ "$status" = 2 ] && grep -q "H.264 には透明がありません" "$E2E_DIR/export.err" || e2e_fail "mp4 --transparent: $status $(cat "$E2E_DIR/export.err")"
[ ! -e "$OUT/x.mp4" ] || e2e_fail "a refused mp4 was written"
echo "PASS: export_formats"
