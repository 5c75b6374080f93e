#!/bin/bash
# The screen saver in a window of its own: --root without a daemon's window fills the
# screen with its cards and shows no main window; --window opens an ordinary window.
# Silent unless --sound, which plays the cues; SIGINT ends it within a second.
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
e2e_start "$program" 1024x768
unset XSCREENSAVER_WINDOW
printf '[Option]\r\nWait=0\r\nStartWait=500\r\n' >"$E2E_DIR/Quillon.ini"

# interrupt: SIGINT, and the program gone within a second with status 0.
interrupt() {
  local status
  kill -INT "$E2E_APP_PID"
  for _ in $(seq 10); do e2e_is_running || break; sleep 0.1; done
  e2e_is_running && e2e_fail "still running a second after SIGINT"
  wait "$E2E_APP_PID" && status=0 || status=$?
  [ "$status" -eq 0 ] || e2e_fail "exit status $status after SIGINT"
}

# --root alone: one window, the whole screen, black with the cards on it.
e2e_run --root --sound --linger 1
e2e_wait_active_size 1024 768 10 || e2e_fail "no full-screen window"
windows=$(xdotool search --onlyvisible --name '.' 2>/dev/null | while read -r w; do
  eval "$(xdotool getwindowgeometry --shell "$w")"
  [ "$WIDTH" -gt 16 ] && echo "$w ${WIDTH}x$HEIGHT"
done)
echo "visible windows: $windows"
[ "$(echo "$windows" | wc -l)" -eq 1 ] || e2e_fail "more than the saver's window is shown"
drawn() { [ "$(lit "$1")" -gt 2000 ]; }
shot=$(e2e_shoot_until saver-own-fullscreen 6 drawn) || e2e_fail "nothing drawn on the full screen"
[ "$(lit "$shot" 1024x40+0+0)" -eq 0 ] || e2e_fail "something lit along the top: not the saver's page"
# Let two cards play, with their sound, and end it.
sleep 8
interrupt
[ -s "$E2E_WAVE" ] || e2e_fail "no sound with --sound"
peak=$(sox "$E2E_WAVE" -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
echo "peak amplitude with --sound: $peak"
[ "$(echo "$peak > 0.05" | bc)" -eq 1 ] || e2e_fail "silence with --sound"

# --window: an ordinary window of 640 × 480; without --sound the sound device is never
# opened, so nothing is written.
rm -f "$E2E_WAVE"
e2e_run --window --seed 3
win=$(e2e_wait_window "Quillon for DirectX" 10) || e2e_fail "no window of its own"
eval "$(xdotool getwindowgeometry --shell "$win")"
[ "${WIDTH}x$HEIGHT" = 640x480 ] || e2e_fail "the window is ${WIDTH}x$HEIGHT"
# Its page: white glyphs on black filling the window, with black margins at its top and
# its left (a character is centred, a card's line 1 starts inside the margin).
X=$(xwininfo -id "$win" | awk '/Absolute upper-left X/ {print $NF}')
Y=$(xwininfo -id "$win" | awk '/Absolute upper-left Y/ {print $NF}')
card_in_window() {
  [ "$(lit "$1" "640x480+$X+$Y")" -gt 500 ] && [ "$(lit "$1" "640x20+$X+$Y")" -eq 0 ] &&
    [ "$(lit "$1" "30x480+$X+$Y")" -eq 0 ]
}
shot=$(e2e_shoot_until saver-own-window 8 card_in_window) ||
  e2e_fail "no white glyphs on black in the window at $X,$Y"
interrupt
[ ! -e "$E2E_WAVE" ] || e2e_fail "sound was played without --sound"
echo "PASS saver_own_window"
