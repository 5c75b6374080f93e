#!/usr/bin/env bash
# Captions beside an exported video, read by ffmpeg as players read them; and a whole
# list exported into a folder by the real program: a blank line skipped, one card that
# cannot be written reported while the others are, the catalogue, and a Ctrl+C.
# Usage: export_list.sh PATH/TO/quillon
set -euo pipefail
E2E_ARTIFACTS=${E2E_ARTIFACTS:-${PWD}/build/e2e-artifacts}
mkdir -p "$E2E_ARTIFACTS"
fail() { echo "FAIL: $*" >&2; exit 1; }
DIR=$(mktemp -d)
server=
trap '[ -z "$server" ] || kill "$server" 2>/dev/null; rm -rf "$DIR"' EXIT
cp "$1" "$DIR/quillon"
export XDG_CONFIG_HOME="$DIR/config" LANG=C.UTF-8
OUT="$DIR/out"
mkdir -p "$OUT"
quillon() { (cd "$DIR" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ./quillon --export "$@") 2>"$DIR/err"; }
status_of() { set +e; quillon "$@"; echo $?; set -e; }

# Default settings: "ABC" / "DE" types at 1500, 1720, 1940, 2350 and 2470 ms, the card
# comes at 2880 and is held until 9880.
quillon "$OUT/card.webm" --size 320x240 --captions "$OUT/card.vtt" ABC DE || fail "captioned export: $(cat "$DIR/err")"
quillon "$OUT/card.mp4" --size 320x240 --captions "$OUT/card.srt" ABC DE || fail "captioned export: $(cat "$DIR/err")"
grep -q "書き出しました: $OUT/card.srt" "$DIR/err" || fail "no word of the captions: $(cat "$DIR/err")"
cp "$OUT/card.vtt" "$OUT/card.srt" "$E2E_ARTIFACTS/"
want="1.500,0.220 1.720,0.220 1.940,0.410 2.350,0.120 2.470,0.410 2.880,7.000"
for f in card.vtt card.srt; do
  codec=$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$OUT/$f")
  case $f in *.vtt) [ "$codec" = webvtt ] ;; *) [ "$codec" = subrip ] ;; esac || fail "$f is read as '$codec'"
  got=$(ffprobe -v error -show_entries packet=pts_time,duration_time -of csv=p=0 "$OUT/$f" |
    awk -F, '{ printf "%.3f,%.3f ", $1, $2 }' | xargs)
  [ "$got" = "$want" ] || fail "$f cues are '$got', not '$want'"
  # Decoded, every cue has its text; the card's holds both lines.
  ffmpeg -v error -y -i "$OUT/$f" "$DIR/decoded.ass" || fail "ffmpeg cannot decode $f"
  grep -q 'ABC\\NDE' "$DIR/decoded.ass" || fail "$f: the card's cue lacks its two lines"
  [ "$(grep -c '^Dialogue:' "$DIR/decoded.ass")" = 6 ] || fail "$f: not six cues"
done
head -1 "$OUT/card.vtt" | grep -qx WEBVTT || fail "no WebVTT header"
grep -q $'\r' "$OUT/card.vtt" && fail "the WebVTT mixes line ends"
[ "$(grep -c $'\r$' "$OUT/card.srt")" = "$(wc -l <"$OUT/card.srt")" ] || fail "the SubRip mixes line ends"
# The captions go into the video's own container too, as a player would take them.
ffmpeg -v error -y -i "$OUT/card.webm" -i "$OUT/card.vtt" -map 0 -map 1 -c copy "$DIR/muxed.webm" ||
  fail "the WebVTT does not go into a WebM"
# Where a browser is installed, its <track> reads the WebVTT: six cues, the card's last.
if command -v chromium >/dev/null; then
  cat >"$OUT/page.html" <<'HTML'
<!doctype html><meta charset="utf-8">
<video src="card.webm" muted preload="auto"><track id="t" kind="captions" default src="card.vtt"></video>
<pre id="out">pending</pre>
<script>
const t = document.getElementById('t');
t.track.mode = 'hidden';
t.addEventListener('load', () => {
  const cues = [...t.track.cues];
  document.getElementById('out').textContent = 'cues=' + cues.length + ' last=' +
    cues[cues.length - 1].startTime.toFixed(3) + '-' + cues[cues.length - 1].endTime.toFixed(3) +
    ' ' + cues[cues.length - 1].text.replace('\n', '|');
});
t.addEventListener('error', () => { document.getElementById('out').textContent = 'error'; });
</script>
HTML
  port=$((20000 + RANDOM % 20000))
  (cd "$OUT" && exec python3 -m http.server "$port" --bind 127.0.0.1) >/dev/null 2>&1 &
  server=$!
  sleep 1
  seen=$(timeout 60 chromium --headless --no-sandbox --disable-gpu --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$DIR/browser" --virtual-time-budget=5000 --dump-dom \
    "http://127.0.0.1:$port/page.html" 2>/dev/null | sed -n 's/.*<pre id="out">\(.*\)<\/pre>.*/\1/p' || true)
  kill "$server"
  server=
  [ "$seen" = "cues=6 last=2.880-9.880 ABC|DE" ] || fail "the browser's track holds '$seen'"
  echo "browser: $seen"
fi
[ "$(status_of "$OUT/x.png" --captions "$OUT/x.vtt" A)" = 2 ] || fail "captions on a still were accepted"
grep -q "静止画 (.png) に字幕は付けられません" "$DIR/err" || fail "still: $(cat "$DIR/err")"
[ ! -e "$OUT/x.vtt" ] && [ ! -e "$OUT/x.png" ] || fail "a refused export left files"
# Captions that cannot be written fail before the video is made, which is then not left alone.
[ "$(status_of "$OUT/y.webm" --captions "$OUT/no/y.vtt" A)" = 1 ] || fail "unwritable captions did not fail"
grep -q "$OUT/no/y.vtt に書き込めません" "$DIR/err" && [ ! -e "$OUT/y.webm" ] || fail "unwritable captions: $(cat "$DIR/err")"

# A list file as the program writes them (Shift-JIS, CR LF), with a blank line 2 and a
# folder where card 4 would go.
LIST="$DIR/list.qln"
printf '%s\r\n' "時計塔の惑星 第一話" "" "a/b:c*? 第二話" "書けない 第三話" "獣王 現る" | iconv -f UTF-8 -t CP932 >"$LIST"
mkdir -p "$OUT/list/004-書けない.webm"
[ "$(status_of "$OUT/list/" --file "$LIST" --format webm --captions srt --size 160x120 --seed 5)" = 1 ] ||
  fail "a list with a failed card did not end with 1: $(cat "$DIR/err")"
cp "$DIR/err" "$E2E_ARTIFACTS/export-list.err"
grep -q "^2行目は空なので飛ばします$" "$DIR/err" || fail "no notice of the blank line: $(cat "$DIR/err")"
grep -q "^quillon: $OUT/list/004-書けない.webm に書き込めません" "$DIR/err" || fail "the failed card is not named: $(cat "$DIR/err")"
grep -q "3 枚を書き出し、1 枚を書き出せませんでした" "$DIR/err" || fail "no summary: $(cat "$DIR/err")"
[ "$(grep -c '^書き出し中 100%' "$DIR/err")" = 0 ] || fail "a list with a failure claims 100 %"
[ "$(grep -c '^書き出し中 0%' "$DIR/err")" = 1 ] || fail "not one progress for the whole list"
names=$(cd "$OUT/list" && ls -A | tr '\n' ' ' | xargs)
[ "$names" = "001-時計塔の惑星.srt 001-時計塔の惑星.webm 003-a_b_c__.srt 003-a_b_c__.webm 004-書けない.webm 005-獣王.srt 005-獣王.webm" ] ||
  fail "the folder holds: $names"
[ "$(ffprobe -v error -show_entries packet=pts_time -of csv=p=0 "$OUT/list/005-獣王.srt" | wc -l)" = 5 ] ||
  fail "the beast card's captions are not its four characters and the card"
for f in 001-時計塔の惑星 003-a_b_c__ 005-獣王; do
  [ "$(ffprobe -v error -select_streams v -show_entries stream=codec_name,width -of csv=p=0 "$OUT/list/$f.webm")" = "vp9,160" ] ||
    fail "$f.webm is not a card"
done
# Card 1 of a list with --seed 5 is the card exported alone with --seed 5.
quillon "$OUT/alone.webm" --size 160x120 --seed 5 "時計塔の惑星" "第一話" || fail "seeded export"
[ "$(ffmpeg -v error -i "$OUT/alone.webm" -map 0:v -f framemd5 - | md5sum)" = \
  "$(ffmpeg -v error -i "$OUT/list/001-時計塔の惑星.webm" -map 0:v -f framemd5 - | md5sum)" ] ||
  fail "card 1 of the list differs from the same card with the same seed"

# The whole catalogue as pictures: 228 cards, all written, exit 0.
[ "$(status_of "$OUT/catalogue" --catalogue --format png --size 64x48)" = 0 ] || fail "the catalogue: $(tail -3 "$DIR/err")"
[ "$(ls "$OUT/catalogue" | wc -l)" = 228 ] || fail "the catalogue gave $(ls "$OUT/catalogue" | wc -l) cards"
tail -1 "$DIR/err" | grep -q "^228 枚を書き出しました: " || fail "catalogue: $(tail -1 "$DIR/err")"
ls "$OUT/catalogue" | sed -n 1,3p >"$E2E_ARTIFACTS/export-catalogue-names.txt"

# Ctrl+C in the middle: the card in progress is cleaned up, the finished ones stay.
# Thirty cards: on an idle machine four were all written before the signal came.
for i in $(seq 30); do printf '%s\r\n' "${i}枚目 題"; done | iconv -f UTF-8 -t CP932 >"$LIST"
(cd "$DIR" && exec env -u DISPLAY ./quillon --export "$OUT/stop" --file "$LIST" --size 1280x720) 2>"$DIR/err" &
pid=$!
for _ in $(seq 600); do [ -e "$OUT/stop/001-1枚目.mp4" ] && break; sleep 0.1; done
[ -e "$OUT/stop/001-1枚目.mp4" ] || fail "the first card never came"
sleep 0.5
kill -INT "$pid"
set +e; wait "$pid"; status=$?; set -e
[ "$status" = 130 ] || fail "Ctrl+C: status $status ($(cat "$DIR/err"))"
grep -q "中断しました" "$DIR/err" || fail "Ctrl+C: $(cat "$DIR/err")"
[ -z "$(find "$OUT/stop" -name '.*.part')" ] || fail "Ctrl+C left a part-written card"
n=$(ls "$OUT/stop" | wc -l)
[ "$n" -ge 1 ] && [ "$n" -lt 30 ] || fail "Ctrl+C: $n cards in the folder"
echo "PASS: export_list"
