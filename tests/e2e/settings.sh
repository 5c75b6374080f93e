#!/usr/bin/env bash
# The settings file through the real program: a prepared Quillon.ini is loaded, the
# settings dialog is opened from the main window and closed with OK (Enter), and the
# file then holds all ten keys with the loaded values, other lines untouched. Then the
# die fills the lines from the catalogue range the file chose. A read-only settings file
# is left as it was.
. "$(dirname "$0")/lib.sh"
e2e_start "$1"

# Shift-JIS with CR LF: "\n" in the texts below become CR LF.
sjis() { printf '%b' "$1" | iconv -f UTF-8 -t CP932 | sed 's/$/\r/'; }

sjis '; Quillon settings\n[Option]\nwait=0x20\nOriginal=0\nMagnify=-5\n\n[Font]\nName=ＭＳ ゴシック' \
  >"$E2E_DIR/Quillon.ini"
sjis '; Quillon settings\n[Option]\nwait=32\nOriginal=0\nMagnify=0\nAutoClose=0\nSilent=0\nDiceMode=1\nStartWait=1500\n\n[Font]\nName=ＭＳ ゴシック\nCharset=128\n[File]\nUserFile=\n' \
  >"$E2E_DIR/expected.ini"

e2e_run
main=$(e2e_wait_window "Quillon for DirectX") || e2e_fail "main window not shown"
sleep 0.5

# The settings button: client 75,192, 58 x 25.
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 104 204 click 1
e2e_wait_window "設定" >/dev/null || e2e_fail "settings dialog not shown"
sleep 0.3
e2e_shot settings-dialog >/dev/null
# Found again each time: the first window of that name may be gone by the time the key
# is sent to it. A try has worked once the dialog has gone, whatever xdotool said: a
# second Return would go to the main window's focused button and open the dialog again.
for _ in 1 2 3; do
  dialog=$(e2e_wait_window "設定" 2) || break # closed already
  xdotool windowactivate --sync "$dialog" 2>/dev/null || true
  xdotool key --window "$dialog" Return 2>/dev/null || true
  for _ in $(seq 30); do e2e_no_window "設定" && break 2; sleep 0.1; done
done

for _ in $(seq 50); do
  cmp -s "$E2E_DIR/Quillon.ini" "$E2E_DIR/expected.ini" && break
  sleep 0.1
done
if ! cmp "$E2E_DIR/Quillon.ini" "$E2E_DIR/expected.ini"; then
  xxd "$E2E_DIR/Quillon.ini" >&2
  e2e_fail "settings file differs from the expected bytes"
fi
# The file is written before the dialog hides.
wait_until 5 "settings dialog still shown after OK" e2e_no_window "設定"

# The line fields (client 7,56 and 7,96, 264 x 20): the darkest grey inside each.
# (xwininfo: xdotool's geometry counts the window manager's frame twice.) The main window
# is found afresh until its place is read: a window found by its title may be gone by then.
main_place() {
  main=$(e2e_wait_window "Quillon for DirectX" 1) || return 1
  X=$(xwininfo -id "$main" 2>/dev/null | awk '/Absolute upper-left X/ {print $NF}') || return 1
  Y=$(xwininfo -id "$main" 2>/dev/null | awk '/Absolute upper-left Y/ {print $NF}') || return 1
  [ -n "$X" ] && [ -n "$Y" ]
}
wait_until 10 "main window not shown again" main_place
darkest_in_field() {
  convert "$1" -crop "250x14+$((X + 12))+$((Y + $2 + 3))" -colorspace Gray -format '%[fx:int(255*minima)]' info:
}
sleep 0.3
before=$(e2e_shot settings-before-dice)
for top in 56 96; do
  [ "$(darkest_in_field "$before" $top)" -gt 200 ] || e2e_fail "line field at $top not empty before the die"
done

# The die: a 16 x 16 picture at 248,32. Line 1 always gets dark text; 8 of the 23
# titles of the first list are one-line, so the die is thrown until line 2 is filled too.
two_lines=
# Closing the dialog may leave no window with the focus; the main window takes it first.
xdotool windowactivate --sync "$main" 2>/dev/null || true
for throw in $(seq 10); do
  xdotool mousemove --window "$main" 256 40 click 1
  sleep 0.5
  shot=$(e2e_shot settings-dice)
  darkest=$(darkest_in_field "$shot" 56)
  [ "$darkest" -lt 128 ] || e2e_fail "line field 1 (window at $X,$Y) is empty after throw $throw (darkest $darkest)"
  if [ "$(darkest_in_field "$shot" 96)" -lt 128 ]; then
    two_lines=$throw
    break
  fi
done
[ -n "$two_lines" ] || e2e_fail "line field 2 stayed empty through ten throws of the die"

# A settings file the user made read-only: OK shows the error box, the dialog stays open
# and the file keeps every byte, though the test runs as the superuser.
cp "$E2E_DIR/Quillon.ini" "$E2E_DIR/read-only.before"
chmod 0444 "$E2E_DIR/Quillon.ini"
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 104 204 click 1
dialog=$(e2e_wait_window "設定") || e2e_fail "settings dialog not shown again"
sleep 0.3
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
xdotool key --window "$dialog" Return
# The main window is hidden under the dialog: the window of its title is the error box.
box=$(e2e_wait_window "Quillon for DirectX" 10) || e2e_fail "no error box for the read-only settings file"
sleep 0.3
e2e_shot settings-read-only >/dev/null
xdotool windowactivate --sync "$box" 2>/dev/null || true
xdotool key Return
sleep 0.5
e2e_wait_window "設定" 2 >/dev/null || e2e_fail "the dialog closed after the failed save"
cmp -s "$E2E_DIR/Quillon.ini" "$E2E_DIR/read-only.before" || e2e_fail "the read-only settings file changed"
e2e_is_running || e2e_fail "program ended"
echo "settings: ok ($shot)"
