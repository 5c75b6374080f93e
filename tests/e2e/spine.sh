#!/usr/bin/env bash
# The program as a user meets it: the main window, a typed two-line card that takes the
# whole screen, dismissal bringing the main window back unchanged, and screen-saver mode
# ending by itself.
source "$(dirname "$0")/lib.sh"
PROGRAM=$1

# On the 1024 × 768 screen the card's 640 × 480 page is scaled by 1.6 and fills it.
# The finished card: line 1 flush left in the upper half, line 2 flush right in the lower.
is_card() {
  [ "$(lit "$1" 150x384+0+0)" -gt 50 ] && [ "$(lit "$1" 150x384+874+384)" -gt 50 ] &&
    [ "$(lit "$1" 150x384+0+384)" -eq 0 ] && [ "$(lit "$1" 150x384+874+0)" -eq 0 ]
}
# A saver's card, of one line or two: line 1 flush left in the upper half.
is_saver_card() { [ "$(lit "$1" 150x384+0+0)" -gt 50 ] && [ "$(lit "$1" 1024x40+0+0)" -eq 0 ]; }

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
# The start wait, or on a slow machine a character alone in the middle: black along the
# left and the top.
start=$(e2e_shot spine-card-start)
[ "$(lit "$start" 150x768+0+0)" -eq 0 ] && [ "$(lit "$start" 1024x100+0+0)" -eq 0 ] ||
  e2e_fail "the card's start is not black around the middle"

# Start wait, nine characters, the card; then its 7 s hold runs out and it waits.
e2e_shoot_until spine-card 15 is_card >/dev/null || e2e_fail "no finished card: line 1 upper left, line 2 lower right"
sleep 7.5
held=$(e2e_shot spine-card-held)
is_card "$held" || e2e_fail "the card did not stay after its hold"
xdotool key space
e2e_wait_active_size 277 225 10 || e2e_fail "the main window is not back in front"
# The main window's grey face is on the screen again where the window is.
X=$(xwininfo -id "$main" | awk '/Absolute upper-left X/ {print $NF}')
Y=$(xwininfo -id "$main" | awk '/Absolute upper-left Y/ {print $NF}')
window_shown() { [ "$(lit "$1" "277x225+$X+$Y")" -gt 40000 ]; }
e2e_shoot_until spine-back 5 window_shown >/dev/null || e2e_fail "the main window is not drawn after the card"

# The fields are unchanged: copy each out through the clipboard.
xdotool mousemove --window "$main" 100 66 click 1 key ctrl+a ctrl+c
wait_until 3 "line 1 changed" e2e_clipboard_is "最後の航海"
xdotool mousemove --window "$main" 100 106 click 1 key ctrl+a ctrl+c
wait_until 3 "line 2 changed" e2e_clipboard_is "星の海へ"

xdotool key Escape
e2e_wait_exit 5 || e2e_fail "Esc did not end the program"

# Screen-saver mode: a random card at once; a key on the finished card brings the next
# random card; the program ends when a hold runs out without input. Quick settings keep
# the timing certain: every card is complete within 3 s and held for 7 s.
printf '[Option]\r\nWait=0\r\nStartWait=500\r\n' >"$E2E_DIR/Quillon.ini"
e2e_run /s
e2e_wait_window "Quillon for DirectX" 15 >/dev/null || e2e_fail "no window in screen-saver mode"
e2e_wait_active_size 1024 768 10 || e2e_fail "screen-saver card is not full-screen"
e2e_shoot_until spine-saver 10 is_saver_card >/dev/null || e2e_fail "no screen-saver card drawn"
xdotool key space
sleep 5 # past the first card's hold: only a second card keeps the program running
e2e_is_running || e2e_fail "screen-saver mode ended instead of starting the next card"
e2e_wait_active_size 1024 768 5 || e2e_fail "no second screen-saver card"
e2e_shoot_until spine-saver-second 10 is_saver_card >/dev/null || e2e_fail "the second screen-saver card is not drawn"
e2e_wait_exit 20 || e2e_fail "screen-saver mode did not end by itself"
echo "spine: ok"
