#!/bin/bash
# A two-line card on a 1024×768 screen: a character alone and centred on black, then
# line 1 upper left and line 2 lower right; a key brings the main window back.
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
e2e_start "$program" 1024x768

e2e_run
main=$(e2e_wait_window "Quillon for DirectX" 15) || e2e_fail "main window did not appear"
xdotool windowactivate --sync "$main"
sleep 0.3
xdotool key --window "$main" Tab
e2e_paste "怪人"
xdotool key Tab
e2e_paste "現る"
sleep 0.2
xdotool key Return
start=$(date +%s.%N)

# A character alone: lit pixels in the middle, none near the left edge.
is_character() { [ "$(lit "$1" 400x400+312+184)" -gt 500 ] && [ "$(lit "$1" 150x768+0+0)" -eq 0 ]; }
# The card: line 1 starts near the left edge, line 2 lies lower right.
is_card() { [ "$(lit "$1" 150x384+0+0)" -gt 50 ] && [ "$(lit "$1" 512x384+512+384)" -gt 500 ]; }

# The first character comes 1500 ms after Enter; later ones follow at least 220 ms apart.
char=$(e2e_shoot_until display-character 10 is_character) || e2e_fail "no character alone on the screen"
card=$(e2e_shoot_until display-card 15 is_card) || e2e_fail "no finished card on the screen"
echo "card seen $(echo "$(date +%s.%N) - $start" | bc) s after Enter"

# The character: a black screen with white glyph pixels in the middle only.
[ "$(lit "$char" 200x200+0+0)" -eq 0 ] || e2e_fail "character screen not black at the top left"
[ "$(lit "$char" 200x200+824+568)" -eq 0 ] || e2e_fail "character screen not black at the bottom right"
[ "$(lit "$char" 100x768+0+0)" -eq 0 ] || e2e_fail "glyph pixels at the left edge"
centre=$(lit "$char" 400x400+312+184)
[ "$centre" -gt 500 ] || e2e_fail "no glyph in the middle of the character screen ($centre)"

# The card: line 1 in the upper left, line 2 in the lower right, nothing crosswise.
ul=$(lit "$card" 512x384+0+0)
lr=$(lit "$card" 512x384+512+384)
ur=$(lit "$card" 300x300+724+0)
ll=$(lit "$card" 300x300+0+468)
echo "card lit pixels: upper left $ul, lower right $lr, upper right $ur, lower left $ll"
[ "$ul" -gt 500 ] || e2e_fail "line 1 missing from the upper left"
[ "$lr" -gt 500 ] || e2e_fail "line 2 missing from the lower right"
[ "$ur" -eq 0 ] && [ "$ll" -eq 0 ] || e2e_fail "card text where none belongs"

# Any key dismisses the finished card; the main window is in front again.
xdotool key space
main_in_front() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$main" ]; }
wait_until 10 "main window is not active after the card" main_in_front
e2e_is_running || e2e_fail "program ended"
xdotool search --onlyvisible --name "^Quillon for DirectX\$" | grep -qx "$main" ||
  e2e_fail "main window not visible"
desktop_shown() { [ "$(lit "$1")" -gt 1000 ]; }
e2e_shoot_until display-after 5 desktop_shown >/dev/null || e2e_fail "screen still black after the card"
echo "PASS display"
