#!/usr/bin/env bash
# The export's worker thread beside the window's own card: quillon --export, then an
# export from the main window (Ctrl+E) started while a card types out and plays its cues,
# both written whole. tools/run-tests also runs this under ThreadSanitizer.
# Usage: export_during_card.sh PATH/TO/quillon
source "$(dirname "$0")/lib.sh"
e2e_start "$1" 1024x768
OUT="$E2E_DIR/out"
mkdir -p "$OUT"
codecs() { ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$1" | tr '\n' ' ' | xargs; }

(cd "$E2E_DIR" && exec env -u DISPLAY ./quillon --export "$OUT/cli.mp4" --size 320x180 "線の" "上") \
  2>"$E2E_DIR/export.err" || e2e_fail "quillon --export failed: $(cat "$E2E_DIR/export.err")"
[ "$(codecs "$OUT/cli.mp4")" = "h264 aac" ] || e2e_fail "the command line's export is not an MP4 with sound"

# A long card, so that it still types when the export starts; it waits for a key at the end.
printf '[Option]\r\nAutoClose=0\r\nStartWait=500\r\n' >"$E2E_DIR/Quillon.ini"
e2e_run
main=$(e2e_main_window_lines "ABCDEFGHIJKLMNOPQRSTUVWXYZ" "ABCDEFGHIJKLMNOPQRSTUVWXYZ")
xdotool key Return
e2e_wait_active_size 1024 768 120 || e2e_fail "the card is not full-screen"
# The window manager may leave the focus with the card now and then; Ctrl+E is sent again
# to the main window brought forward once more.
chooser=
for _ in 1 2 3; do
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  xdotool key ctrl+e
  chooser=$(e2e_wait_window "カードを書き出す" 30) && break
done
[ -n "$chooser" ] || e2e_fail "no save chooser on Ctrl+E during the card"
xdotool key ctrl+a
xdotool type --delay 20 "$OUT/window.webm"
xdotool key Return
sleep 1
e2e_shot export-during-card >/dev/null
# The card goes on typing beside the export: brought forward, it shows a character.
# A card that is not the active window keeps the screen as it is, so it is looked at over a
# few seconds: the window manager may take a moment to hand it the focus.
for w in $(xdotool search --onlyvisible --name "^Quillon for DirectX\$"); do
  eval "$(xdotool getwindowgeometry --shell "$w")"
  [ "$WIDTH" = 1024 ] && xdotool windowactivate --sync "$w" 2>/dev/null || true
done
white=0
for _ in $(seq 20); do
  sleep 0.25
  card=$(e2e_shot export-during-card-typing)
  white=$(lit "$card")
  [ "$white" -gt 50 ] && break
done
[ "$white" -gt 50 ] || e2e_fail "the card shows no character during the export ($white white pixels)"
for _ in $(seq 900); do [ -s "$OUT/window.webm" ] && break; sleep 0.2; done
[ "$(codecs "$OUT/window.webm")" = "vp9 opus" ] || e2e_fail "the window's export is not a WebM with sound"
e2e_is_running || e2e_fail "the program ended"
[ -z "$(find "$OUT" -name '.*.part')" ] || e2e_fail "a temporary file is left"
kill -TERM "$E2E_APP_PID"
e2e_wait_exit 30 || e2e_fail "the program did not end on SIGTERM"
echo "PASS: export_during_card"
