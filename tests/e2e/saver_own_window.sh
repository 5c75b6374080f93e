#!/bin/bash
# The screen saver in a window of its own: --root without a daemon's window fills the
# screen with its cards and shows no main window; --window opens an ordinary window.
# Silent unless --sound, which plays the cues; SIGINT ends it within a second.
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
e2e_start "$program" 1024x768
unset XSCREENSAVER_WINDOW
printf '[Option]\r\nWait=0\r\nStartWait=500\r\n' >"$E2E_DIR/Quillon.ini"

lit() { convert "$1" -crop "$2" +repage -colorspace gray -threshold 50% -format "%[fx:int(mean*w*h+0.5)]" info:; }
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
seen=0
for i in $(seq 1 30); do
  shot=$(e2e_shot saver-own-fullscreen)
  [ "$(lit "$shot" 1024x768+0+0)" -gt 2000 ] && { seen=1; break; }
  sleep 0.2
done
[ "$seen" -eq 1 ] || e2e_fail "nothing drawn on the full screen"
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
sleep 4
e2e_shot saver-own-window >/dev/null
interrupt
[ ! -e "$E2E_WAVE" ] || e2e_fail "sound was played without --sound"
echo "PASS saver_own_window"
