#!/bin/bash
# The screen saver drawing into windows it was handed (--window-id), as previews hand
# them: two copies at once, each in its own window; a window resized under a finished
# card and under a typed character, and the card follows the new size at once; input
# changes nothing; SIGTERM ends a copy within a second; a copy whose window goes away ends.
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
e2e_start "$program" 1280x1024

hosts=()
others=()
cleanup() {
  local pid
  for pid in "${others[@]}" "${hosts[@]}"; do kill "$pid" 2>/dev/null || true; done
  e2e_cleanup
}
trap cleanup EXIT

# Quick cards whose characters stay a while: the shortest start wait, 200 ms a character.
printf '[Option]\r\nWait=100\r\nStartWait=500\r\n' >"$E2E_DIR/Quillon.ini"
python3 -c "import sys; open(sys.argv[1], 'wb').write('星の記憶 眠る遺跡\r\n'.encode('cp932'))" \
  "$E2E_DIR/list.qln"

# host TITLE GEOMETRY: a window to draw into; sets host_id.
host() {
  python3 "$here/saver_host.py" "$1" "$2" >"$E2E_DIR/$1.id" &
  hosts+=($!)
  for _ in $(seq 50); do [ -s "$E2E_DIR/$1.id" ] && break; sleep 0.1; done
  host_id=$(head -n 1 "$E2E_DIR/$1.id")
  [ -n "$host_id" ] || e2e_fail "the window $1 did not appear"
}
# area ID: "WIDTHxHEIGHT+X+Y" of a window on the screen.
area() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
                          /Width:/ {w=$2} /Height:/ {h=$2} END {printf "%dx%d+%d+%d", w, h, x, y}'
}
# Pixels of the host window's own colour in a region: where the saver's view does not cover it.
uncovered() { convert "$1" -crop "$2" +repage -fuzz 8% -transparent '#3060a0' -alpha extract -negate -format "%[fx:int(mean*w*h+0.5)]" info:; }
# The bounding box of the lit pixels (brighter than half) of a region of a screenshot.
litbox() { convert "$1" -crop "$2" +repage -colorspace gray -threshold 50% -format "%@" info:; }
# The regions of an area: quadrants, and its middle.
quadrant() { # AREA Q (ul, lr)
  local w h x y
  IFS='x+' read -r w h x y <<<"$1"
  case $2 in
    lr) echo "$((w / 2))x$((h / 2))+$((x + w / 2))+$((y + h / 2))" ;;
    left) echo "$((w / 8))x${h}+$x+$y" ;;
    upperleft) echo "$((w / 8))x$((h / 2))+$x+$y" ;;
  esac
}
# A finished two-line card fills the area: line 1 from the left edge in the upper half,
# line 2 in the lower right.
is_card() { [ "$(lit "$1" "$(quadrant "$2" upperleft)")" -gt 20 ] && [ "$(lit "$1" "$(quadrant "$2" lr)")" -gt 200 ]; }
# A character alone: lit pixels, none near the left edge.
is_character() { [ "$(lit "$1" "$2")" -gt 100 ] && [ "$(lit "$1" "$(quadrant "$2" left)")" -eq 0 ]; }
# shoot_until NAME SECONDS TEST ID: screenshots until TEST holds for the window ID.
shoot_until() {
  local name=$1 seconds=$2 test=$3 id=$4 shot
  for _ in $(seq $((seconds * 5))); do
    shot=$(e2e_shot "$name")
    "$test" "$shot" "$(area "$id")" && { echo "$shot"; return 0; }
    sleep 0.2
  done
  return 1
}

host saver-a 400x300+20+20
a=$host_id
host saver-b 320x240+880+20
b=$host_id
topa=$(xdotool search --name '^saver-a$' | head -n 1)

e2e_run --window-id "$a" --file list.qln --linger 4
(cd "$E2E_DIR" && exec ./quillon -window-id "$b" -file list.qln) >"$E2E_ARTIFACTS/saver-window-b.log" 2>&1 &
saver_b=$!
others+=("$saver_b")

# resize_to W H: window A's top-level resized; prints the saver window's new area.
resize_to() {
  xdotool windowsize "$topa" "$1" "$2"
  sized() { [ "$(area "$a" | cut -d+ -f1)" = "$1" ]; }
  wait_until 3 "window A is not ${1}x$2 after the resize" sized "${1}x$2"
  area "$a"
}

# Both copies draw, each in its own window, covering it.
card=$(shoot_until saver-window-card 15 is_card "$a") || e2e_fail "no finished card in window A"
shoot_until saver-window-b 15 is_card "$b" >/dev/null || e2e_fail "no finished card in window B"
old=$(area "$a")
before=$(litbox "$card" "$old")
echo "card in $old: lit $before"

# Resized under the finished card (held 4 s): the card is drawn again at the new size,
# which the view covers whole; until it is, the page of the old size shows.
covering_card() { is_card "$1" "$2" && [ "$(uncovered "$1" "$2")" -eq 0 ]; }
new=$(resize_to 800 600)
resized=$(shoot_until saver-window-resized 2 covering_card "$a") ||
  e2e_fail "the card did not follow the window to $new (or the view does not cover it)"
after=$(litbox "$resized" "$new")
echo "card in $new: lit $after"
w0=${before%%x*} w1=${after%%x*}
[ "$w1" -ge $((w0 * 17 / 10)) ] && [ "$w1" -le $((w0 * 23 / 10)) ] ||
  e2e_fail "the card is $w1 wide at twice the size, $w0 before"

# The next card's characters, centred in the new size; resized back under one of them.
char=$(shoot_until saver-window-character 20 is_character "$a") || e2e_fail "no character alone"
# centred_character SHOT AREA: a character alone in AREA, centred and of a height that fits
# it. Until the pages are made anew, the larger page of the old size shows off the centre.
centred_character() {
  local box bw bh bx by sw sh cx cy
  is_character "$1" "$2" && [ "$(uncovered "$1" "$2")" -eq 0 ] || return 1
  box=$(litbox "$1" "$2")
  IFS='x+' read -r bw bh bx by <<<"$box"
  IFS='x+' read -r sw sh _ _ <<<"$2"
  cx=$((bx + bw / 2)) cy=$((by + bh / 2))
  [ "$bh" -gt $((sh * 3 / 10)) ] && [ "$bh" -lt $((sh * 8 / 10)) ] &&
    [ $((cx - sw / 2)) -lt $((sw / 8)) ] && [ $((sw / 2 - cx)) -lt $((sw / 8)) ] &&
    [ $((cy - sh / 2)) -lt $((sh / 8)) ] && [ $((sh / 2 - cy)) -lt $((sh / 8)) ]
}
small=$(resize_to 400 300)
# Each character goes up after a black page, so a shot may fall between two.
shrunk=$(shoot_until saver-window-shrunk 2 centred_character "$a") ||
  e2e_fail "no character centred in the window at $small (and covering it): $(litbox "$(e2e_shot saver-window-shrunk)" "$small")"
echo "character in $small: lit $(litbox "$shrunk" "$small")"

# Input goes to the window's owner; the saver does nothing with it.
xdotool mousemove --window "$topa" 200 150 click 1 key a
sleep 0.5
e2e_is_running || e2e_fail "the saver ended on input"

# SIGTERM ends it within a second, cleanly.
kill -TERM "$E2E_APP_PID"
for _ in $(seq 10); do e2e_is_running || break; sleep 0.1; done
e2e_is_running && e2e_fail "still running a second after SIGTERM"
wait "$E2E_APP_PID" && status=0 || status=$?
[ "$status" -eq 0 ] || e2e_fail "exit status $status after SIGTERM"

# The other copy ends when its window goes away.
kill "${hosts[1]}"
for _ in $(seq 20); do kill -0 "$saver_b" 2>/dev/null || break; sleep 0.1; done
kill -0 "$saver_b" 2>/dev/null && e2e_fail "copy B still runs after its window went away"
echo "PASS saver_window"
