#!/usr/bin/env bash
# quillon.scr /p HWND under Wine, as Windows' screen-saver settings page starts it, in a
# window made by preview_host.exe: the saver's view is a shown child window of it that
# covers it whole and follows it when it is resized; nothing of the saver shows anywhere
# else; the saver ends with status 0 within a few seconds of the window being destroyed.
# Usage: saver_preview.sh [BUILD-FOLDER]
source "$(dirname "$0")/lib.sh"
win_start "${1:-}"
host_exe=$WIN_BUILD/tests/preview_host.exe
[ -f "$host_exe" ] || e2e_fail "no $host_exe: run tools/build-windows --tests"
mv "$E2E_DIR/quillon.exe" "$E2E_DIR/quillon.scr"
cp "$host_exe" "$E2E_DIR/"
wine_run() { exec "$WIN_ROOT/tools/windows-wine" "$@"; }
host_pid="" saver_pid=""
cleanup() {
  local pid
  for pid in $saver_pid $host_pid; do kill "$pid" 2>/dev/null || true; done
  win_cleanup
}
trap cleanup EXIT
# Quick cards whose characters stay a while: the shortest start wait, 200 ms a character.
printf '[Option]\r\nWait=100\r\nStartWait=500\r\n' >"$E2E_DIR/Quillon.ini"

# A 320 × 240 preview, as small as a settings page's, made 480 × 300 after 10 s and
# destroyed after 16 s. Just before each it tells which windows are inside it.
(cd "$E2E_DIR" && wine_run ./preview_host.exe 320x240 16 10 480x300) >"$E2E_DIR/host.log" 2>/dev/null &
host_pid=$!
said() { [ "$(grep -c "$1" "$E2E_DIR/host.log")" -ge "${2:-1}" ]; }
wait_until 20 "the host window did not appear" said "^client"
hwnd=$(sed -n 's/^hwnd \([0-9]*\).*/\1/p' "$E2E_DIR/host.log")
# area N: "WIDTHxHEIGHT+X+Y" of the host's client area as it said the Nth time.
area() {
  sed -n 's/^client \([-0-9]*\) \([-0-9]*\) \([0-9]*\) \([0-9]*\).*/\3x\4+\1+\2/p' \
    "$E2E_DIR/host.log" | sed -n "${1}p"
}
first=$(area 1)
echo "host window $hwnd at $first"

(cd "$E2E_DIR" && wine_run ./quillon.scr /p "$hwnd") >"$E2E_DIR/saver.log" 2>&1 &
saver_pid=$!

# children N: the windows inside the host as it listed them the Nth time:
# "WxH+X+Y shown|hidden STYLE".
children() {
  awk -v n="$1" '/^(client|destroyed)/ { seen++ } /^child/ && seen == n { print $10 "x" $11 "+" $8 "+" $9, $2, $4 }' \
    "$E2E_DIR/host.log"
}
# One child, shown, a child window (WS_CHILD, 0x40000000) covering the client area whole.
one_view() { # N WxH
  local list
  list=$(children "$1")
  [ "$(echo "$list" | grep -c .)" -eq 1 ] || e2e_fail "not one window inside the host: '$list'"
  read -r size shown style <<<"$list"
  [ "$shown" = shown ] && [ $((0x$style & 0x40000000)) -ne 0 ] && [ "$size" = "$2+0+0" ] ||
    e2e_fail "the view inside the host is '$list', not a shown child of $2"
}
# A screen with nothing of the saver's own: no lit pixel anywhere but inside the host,
# and no window of its process on the screen.
nothing_elsewhere() { # SHOT AREA
  local outside=$(($(lit "$1") - $(lit "$1" "$2")))
  [ "$outside" -eq 0 ] || e2e_fail "$outside pixels are lit outside the host window ($1)"
  [ -z "$(xdotool search --onlyvisible --pid "$saver_pid" 2>/dev/null || true)" ] ||
    e2e_fail "a window of the saver's own is on the screen"
}
# Wine shows nothing that a program draws into a child window of another program's window
# (it finds no X drawable for it), so the cards cannot be seen there; the host tells what
# is inside its window instead. Where they can be seen, they are counted.
inside() { echo "$(lit "$1" "$2") lit pixels inside the host at $2"; }

for _ in 1 2 3 4 5; do
  sleep 1
  shot=$(e2e_shot saver-preview)
  nothing_elsewhere "$shot" "$first"
done
inside "$shot" "$first"

wait_until 15 "the host did not resize" said "^client" 2
one_view 1 "${first%%+*}"
second=$(area 2)
echo "host resized to $second"
for _ in 1 2 3; do
  sleep 1
  shot=$(e2e_shot saver-preview-resized)
  nothing_elsewhere "$shot" "$second"
done
inside "$shot" "$second"

# The host destroys its window: the saver ends by itself, with status 0.
wait_until 15 "the host did not destroy its window" said '^destroyed'
one_view 2 "${second%%+*}"
wait_until 5 "the saver still runs 5 s after its window was destroyed" e2e_gone "$saver_pid"
status=0
wait "$saver_pid" || status=$?
saver_pid=""
[ "$status" -eq 0 ] || e2e_fail "the saver ended with status $status: $(cat "$E2E_DIR/saver.log")"
after=$(e2e_shot saver-preview-gone)
[ "$(lit "$after")" -eq 0 ] || e2e_fail "something is lit after the saver ended ($after)"
wait "$host_pid" 2>/dev/null || true
host_pid=""
echo "PASS: saver_preview"
