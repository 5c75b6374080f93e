#!/usr/bin/env bash
# The program as a user meets it: the main window, a typed two-line card that takes the
# whole screen, dismissal bringing the main window back unchanged, and screen-saver mode
# ending by itself.
source "$(dirname "$0")/lib.sh"
PROGRAM=$1

e2e_start "$PROGRAM" 1024x768
e2e_run
main=$(e2e_wait_window "Quillon for DirectX" 15) || e2e_fail "main window did not appear"
sleep 0.5
e2e_shot spine-main-window >/dev/null
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH" = 277 ] && [ "$HEIGHT" = 225 ] || e2e_fail "main window is ${WIDTH}x${HEIGHT}, not 277x225"

# Line 1, then line 2 (Tab from line 1), then Enter: Run is the default button.
xdotool mousemove --window "$main" 100 66 click 1
e2e_paste "最後の航海"
xdotool key Tab
e2e_paste "星の海へ"
sleep 0.3
e2e_shot spine-typed >/dev/null
xdotool key Return
e2e_wait_active_size 1024 768 10 || e2e_fail "the card window is ${WIDTH}x${HEIGHT}, not the whole screen"
e2e_shot spine-card-start >/dev/null

# Start wait, nine characters, the card; then its 7 s hold runs out and it waits.
sleep 14
e2e_shot spine-card-held >/dev/null
xdotool key space
e2e_wait_active_size 277 225 10 || e2e_fail "the main window is not back in front"
e2e_shot spine-back >/dev/null

# The fields are unchanged: copy each out through the clipboard.
xdotool mousemove --window "$main" 100 66 click 1 key ctrl+a ctrl+c
sleep 0.2
[ "$(xclip -o -selection clipboard)" = "最後の航海" ] || e2e_fail "line 1 changed: $(xclip -o -selection clipboard)"
xdotool mousemove --window "$main" 100 106 click 1 key ctrl+a ctrl+c
sleep 0.2
[ "$(xclip -o -selection clipboard)" = "星の海へ" ] || e2e_fail "line 2 changed: $(xclip -o -selection clipboard)"

xdotool key Escape
e2e_wait_exit 5 || e2e_fail "Esc did not end the program"

# Screen-saver mode: a random card at once; a key on the finished card brings the next
# random card; the program ends when a hold runs out without input. Quick settings keep
# the timing certain: every card is complete within 3 s and held for 7 s.
printf '[Option]\r\nWait=0\r\nStartWait=500\r\n' >"$E2E_DIR/Quillon.ini"
e2e_run /s
e2e_wait_window "Quillon for DirectX" 15 >/dev/null || e2e_fail "no window in screen-saver mode"
e2e_wait_active_size 1024 768 10 || e2e_fail "screen-saver card is not full-screen"
sleep 4
e2e_shot spine-saver >/dev/null
xdotool key space
sleep 5 # past the first card's hold: only a second card keeps the program running
e2e_is_running || e2e_fail "screen-saver mode ended instead of starting the next card"
e2e_wait_active_size 1024 768 5 || e2e_fail "no second screen-saver card"
e2e_shot spine-saver-second >/dev/null
e2e_wait_exit 20 || e2e_fail "screen-saver mode did not end by itself"
echo "spine: ok"
