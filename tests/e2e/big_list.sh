#!/usr/bin/env bash
# A user file of 200,000 catalogue-like Shift-JIS lines through the real program: the
# main window comes up with the user list enabled, its drop-down opens, End goes to the
# last line, and Return takes that line into the two fields.
source "$(dirname "$0")/lib.sh"
e2e_start "$1" 1024x768
root=$(cd "$(dirname "$0")/../.." && pwd)
python3 - "$root/resources/catalogue/part2.txt" "$E2E_DIR/long.qln" <<'PY'
import sys
titles = [l for l in open(sys.argv[1], encoding="utf-8").read().split("\n") if l.strip()]
with open(sys.argv[2], "wb") as f:
    for i in range(200000):
        f.write((titles[i % len(titles)] + str(i)).encode("cp932") + b"\r\n")
PY
mkdir -p "$XDG_CONFIG_HOME/quillon"
printf '[File]\r\nUserFile=%s\r\n' "$E2E_DIR/long.qln" >"$XDG_CONFIG_HOME/quillon/Quillon.ini"
cp "$E2E_DIR/long.qln" "$E2E_DIR/long.before"
e2e_run
main=$(e2e_wait_window "Quillon for DirectX" 15) || e2e_fail "main window did not appear"
sleep 0.5
e2e_shot big-list-main >/dev/null

# The user list (7,160, 264 x 20): open its drop-down, go to the end.
# The drop-down reaches below the window (its top at 0.0 of the screen is the window's).
geometry=$(xdotool getwindowgeometry --shell "$main")
eval "$geometry"
dropped_down() {
  local below
  below=$(convert "$1" -crop "264x60+$((X + 7))+$((Y + 230))" -colorspace gray \
    -format '%[fx:standard_deviation]' info:)
  awk -v s="$below" 'BEGIN { exit !(s > 0.05) }'
}
xdotool mousemove --window "$main" 263 170 click 1
e2e_shoot_until big-list-open 5 dropped_down >/dev/null || e2e_fail "no drop-down below the user list"
xdotool key End
sleep 0.5
e2e_shot big-list-end >/dev/null

xdotool key Return
expected=$(tail -n 1 "$E2E_DIR/long.qln" | iconv -f CP932 -t UTF-8 | tr -d '\r')
xdotool mousemove --window "$main" 100 66 click 1 key ctrl+a ctrl+c
wait_until 3 "line 1 of the last line is not '${expected%% *}'" e2e_clipboard_is "${expected%% *}"
xdotool mousemove --window "$main" 100 106 click 1 key ctrl+a ctrl+c
wait_until 3 "line 2 of the last line is not '${expected#* }'" e2e_clipboard_is "${expected#* }"
cmp -s "$E2E_DIR/long.qln" "$E2E_DIR/long.before" || e2e_fail "the user file was changed"
echo "PASS big_list"
