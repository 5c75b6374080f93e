#!/usr/bin/env bash
# The Windows program under Wine, as a user meets it: the main window in Japanese; the
# settings dialog's OK writes Quillon.ini beside the program in Shift-JIS with CR LF; the
# pencil saves a new subtitle file through the system's save chooser; a typed two-line
# card shows a character alone and large, then the finished card; Esc in the main window
# ends the program.
# Usage: program.sh [BUILD-FOLDER]
source "$(dirname "$0")/lib.sh"
win_start "${1:-}"
export LANG=ja_JP.UTF-8
win_run
main=$(e2e_wait_window "Quillon for DirectX" 60) || e2e_fail "main window did not appear"
sleep 1
e2e_shot win-main-window >/dev/null

# Settings (75,192): the dialog is titled in Japanese; OK (Enter) writes the file.
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 104 204 click 1
e2e_answer "設定" win-settings-dialog
wait_until 10 "settings dialog still shown after OK" e2e_no_window "設定"
ini=$E2E_DIR/Quillon.ini
wait_until 5 "no Quillon.ini beside the program" test -s "$ini"
grep -q $'^\\[Option\\]\r$' "$ini" || e2e_fail "Quillon.ini has no [Option] section"
[ "$(tr -cd '\n' <"$ini" | wc -c)" = "$(grep -c $'\r$' "$ini")" ] || e2e_fail "a line of Quillon.ini lacks its CR"
# "Name=ＭＳ 明朝" in code page 932.
grep -q "$(printf 'Name=\x82\x6c\x82\x72 \x96\xbe\x92\xa9\r')" "$ini" ||
  e2e_fail "Quillon.ini does not name ＭＳ 明朝 in Shift-JIS: $(grep -a Name= "$ini" | xxd -p)"

# The pencil (230,32) with line 1 "AB": asked, then the system's save chooser names the
# new file; its bytes are the line and CR LF, and Quillon.ini names it.
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 100 66 click 1
xdotool type --delay 100 "AB"
xdotool mousemove --window "$main" 238 40 click 1
e2e_answer "確認" win-pencil-question
# The chooser is the system's: Wine's words are its own, in English here.
chooser=$(e2e_wait_window "(名前を付けて保存|Save As)" 15) || e2e_fail "no save chooser"
xdotool windowactivate --sync "$chooser" 2>/dev/null || true
sleep 0.5
e2e_shot win-save-chooser >/dev/null
xdotool key ctrl+a
xdotool type --delay 30 "$(win_path "$E2E_DIR/new.qln")"
xdotool key Return
e2e_answer "確認" win-pencil-saved
wait_until 5 "new.qln was not created" test -f "$E2E_DIR/new.qln"
[ "$(xxd -p "$E2E_DIR/new.qln")" = "4142200d0a" ] ||
  e2e_fail "new.qln holds $(xxd -p "$E2E_DIR/new.qln"), not 41 42 20 0d 0a"
grep -qaF "UserFile=$(win_path "$E2E_DIR/new.qln")"$'\r' "$ini" || e2e_fail "Quillon.ini does not name new.qln"

# The card "ABC" / "DE", typed after the eraser (214,32) empties the lines.
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 222 40 click 1
xdotool mousemove --window "$main" 100 66 click 1
xdotool type --delay 100 "ABC"
xdotool key Tab
xdotool type --delay 100 "DE"
xdotool key Return

# A character alone, on the full screen: lit in the middle, black along every edge,
# where the main window or a finished card would show.
alone() {
  [ "$(lit "$1" 300x300+362+234)" -gt 50 ] && [ "$(lit "$1" 1024x150+0+0)" -eq 0 ] &&
    [ "$(lit "$1" 150x768+0+0)" -eq 0 ] && [ "$(lit "$1" 150x768+874+0)" -eq 0 ] &&
    [ "$(lit "$1" 1024x150+0+618)" -eq 0 ]
}
e2e_wait_active_size 1024 768 10 || e2e_fail "the card is not full-screen"
e2e_shoot_until win-card-character 10 alone >/dev/null || e2e_fail "no character alone in the middle"
e2e_shoot_until win-card 15 e2e_card_done >/dev/null || e2e_fail "no finished two-line card"

xdotool key space
main=$(e2e_wait_window "Quillon for DirectX" 10) || e2e_fail "main window not back after the card"
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key Escape
e2e_wait_exit 10 || e2e_fail "Esc did not end the program"
wait "$E2E_APP_PID" || e2e_fail "the program ended with status $?"
E2E_APP_PID=
echo "program.sh: passed"
