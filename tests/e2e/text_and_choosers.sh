#!/usr/bin/env bash
# What the user pastes and picks is what is stored, through the real program: "A〜B" and
# "C−D" (the JIS forms Linux input methods give) pasted into the lines and saved with the
# pencil are written as code page 932 writes them; a character Shift-JIS cannot hold is
# left out with a notice. The font chooser, opened from the settings dialog, speaks
# Japanese, and OK on it leaves "Name=ＭＳ 明朝" in Quillon.ini (in the user's
# configuration folder). The card of the pasted
# lines is kept as a screenshot.
# Usage: text_and_choosers.sh PATH/TO/quillon
source "$(dirname "$0")/lib.sh"
e2e_start "$1"
e2e_run
main=$(e2e_wait_window "Quillon for DirectX" 15) || e2e_fail "main window did not appear"
sleep 0.5

# Line 1 (client 7,56) and line 2 (7,96), 264 x 20 each.
xdotool mousemove --window "$main" 130 66 click 1
e2e_paste "A〜B"
xdotool mousemove --window "$main" 130 106 click 1
e2e_paste "C−Dé"
e2e_answer "確認" text-left-out-notice
e2e_shot text-lines >/dev/null

# The pencil (230,32): no file yet, so Yes to creating one, then the save chooser.
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 238 40 click 1
e2e_answer "確認" text-pencil-question
chooser=$(e2e_wait_window "名前を付けて保存" 10) || e2e_fail "no save chooser in Japanese"
xdotool windowactivate --sync "$chooser" 2>/dev/null || true
sleep 0.3
e2e_shot text-save-chooser >/dev/null
xdotool type --delay 50 "$E2E_DIR/mine.qln"
xdotool key Return
e2e_answer "確認" text-saved
bytes=$(xxd -p "$E2E_DIR/mine.qln")
[ "$bytes" = "418160422043817c440d0a" ] ||
  e2e_fail "mine.qln holds $bytes, not 41 81 60 42 20 43 81 7c 44 0d 0a"
echo "mine.qln: $bytes"

# The card shows the pasted lines (a wave dash, not a replacement glyph): Run (214,192).
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 243 204 click 1
e2e_wait_active_size 1024 768 10 || e2e_fail "the card is not full-screen"
card=$(e2e_shoot_until text-card 10 e2e_card_done) || e2e_fail "the card is not finished"
white=$(lit "$card")
[ "$white" -gt 50 ] || e2e_fail "the card shows no text ($white white pixels)"
xdotool key space
e2e_wait_active_size 277 225 10 || e2e_fail "the main window is not back after the card"

# The settings button (75,192), then the font button (panel 2 at 200,7; button 8,24).
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 104 204 click 1
dialog=$(e2e_wait_window "設定" 10) || e2e_fail "settings dialog not shown"
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
sleep 0.3
xdotool mousemove --window "$dialog" 292 43 click 1
e2e_answer "フォントの選択" text-font-chooser
# Back in the settings dialog: OK (Enter) saves.
dialog=$(e2e_wait_window "設定" 10) || e2e_fail "settings dialog gone after the font chooser"
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
xdotool key Return
for _ in $(seq 50); do
  grep -q "Magnify" "$XDG_CONFIG_HOME/quillon/Quillon.ini" 2>/dev/null && ! e2e_wait_window "設定" 0 >/dev/null && break
  sleep 0.1
done
name=$(grep -a '^Name=' "$XDG_CONFIG_HOME/quillon/Quillon.ini" | tr -d '\r' | iconv -f CP932 -t UTF-8)
[ "$name" = "Name=ＭＳ 明朝" ] || e2e_fail "Quillon.ini holds '$name' after OK on the font chooser"
echo "Quillon.ini: $name"
e2e_is_running || e2e_fail "program ended"
echo "PASS: pasted text, the font chooser and the save chooser"
