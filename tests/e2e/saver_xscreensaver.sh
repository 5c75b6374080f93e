#!/bin/bash
# The screen saver under the real XScreenSaver daemon. The daemon refuses to run programs
# as root, so it runs as a user made for the test, whose ~/.xscreensaver lists
# "<program> --root" as its only program. Activated, the daemon's window shows card after
# card over half a minute; deactivated, the daemon's SIGTERM ends the program within a
# second. The user and everything it ran go at the end, also when the test fails.
source "$(dirname "$0")/lib.sh"
program=$(realpath "$1")
command -v xscreensaver >/dev/null || e2e_fail "xscreensaver is not installed (tools/install-deps)"
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP saver_xscreensaver: making the daemon's user needs root"
  exit 0
fi
e2e_start "$program" 1024x768

user=quillon-e2e-$$
cleanup() {
  local pid
  if id "$user" >/dev/null 2>&1; then
    timeout 5 su "$user" -s /bin/sh -c "DISPLAY=$DISPLAY xscreensaver-command -exit" >/dev/null 2>&1 || true
    for pid in $(pgrep -u "$user"); do kill -KILL "$pid" 2>/dev/null || true; done
    sleep 0.2
    userdel -r "$user" >/dev/null 2>&1 || true
  fi
  e2e_cleanup
}
trap cleanup EXIT
useradd -m -s /bin/sh "$user"
home=$(getent passwd "$user" | cut -d: -f6)
as_user() { su "$user" -s /bin/sh -c "cd && DISPLAY=$DISPLAY $*"; }

# The program where the user can run it; fast cards from the user's own settings.
chmod 755 "$E2E_DIR"
mkdir -p "$home/.config/quillon"
printf '[Option]\r\nWait=0\r\nStartWait=500\r\n' >"$home/.config/quillon/Quillon.ini"
cat >"$home/.xscreensaver" <<CONF
mode:		one
selected:	0
timeout:	0:30:00
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
programs:	"Quillon"	$E2E_DIR/quillon --root	\n
CONF
chown -R "$user:" "$home"

as_user "xscreensaver --no-splash --verbose >\$HOME/daemon.log 2>&1 &"
for _ in $(seq 50); do as_user "xscreensaver-command -time" >/dev/null 2>&1 && break; sleep 0.2; done
as_user "xscreensaver-command -activate" >/dev/null || e2e_fail "the daemon did not take the command"

saver=
for _ in $(seq 50); do
  saver=$(pgrep -u "$user" -x quillon | head -n 1 || true)
  [ -n "$saver" ] && break
  sleep 0.2
done
[ -n "$saver" ] || { tail -n 20 "$home/daemon.log"; e2e_fail "the daemon did not start the program"; }
sleep 1
# Drawn into the daemon's own window, not into a window of its own.
xwininfo -root -tree | grep -A2 '"XScreenSaver": ("xscreensaver"' | grep -q '"Quillon for DirectX"' ||
  e2e_fail "no view of the program inside the daemon's window"

# A finished card: line 1 from the left edge in the upper half, line 2 lower right.
is_card() { [ "$(lit "$1" 128x384+0+0)" -gt 50 ] && [ "$(lit "$1" 512x384+512+384)" -gt 500 ]; }
# A character alone: lit in the middle, nothing near the left edge.
is_character() { [ "$(lit "$1" 400x400+312+184)" -gt 500 ] && [ "$(lit "$1" 128x768+0+0)" -eq 0 ]; }

cards=() characters=0 blacks=0
for i in $(seq -w 1 20); do
  shot=$(e2e_shot "saver-xscreensaver-$i")
  if is_card "$shot"; then
    cards+=("$(convert "$shot" -colorspace gray -threshold 50% -format '%#' info:)")
  elif is_character "$shot"; then
    characters=$((characters + 1))
  elif [ "$(lit "$shot" 1024x768+0+0)" -eq 0 ]; then
    blacks=$((blacks + 1))
  fi
  kill -0 "$saver" 2>/dev/null || { tail -n 20 "$home/daemon.log"; e2e_fail "the program ended by itself"; }
  sleep 1.5
done
distinct=$(printf '%s\n' "${cards[@]}" | sort -u | wc -l)
echo "over 30 s: ${#cards[@]} shots of finished cards ($distinct different), $characters of characters, $blacks black"
[ "$distinct" -ge 2 ] || e2e_fail "fewer than two different cards in 30 s"
[ "$characters" -ge 1 ] || e2e_fail "no character typed alone"
[ "$(pgrep -u "$user" -x quillon | head -n 1)" = "$saver" ] || e2e_fail "the program was started again"

# Deactivated: the daemon sends SIGTERM, and the program is gone within a second.
start=$(date +%s%N)
as_user "xscreensaver-command -deactivate" >/dev/null
for _ in $(seq 30); do e2e_gone "$saver" && break; sleep 0.05; done
elapsed=$((($(date +%s%N) - start) / 1000000))
e2e_gone "$saver" || e2e_fail "the program still runs ${elapsed} ms after deactivation"
echo "ended ${elapsed} ms after deactivation"
[ "$elapsed" -le 1000 ] || e2e_fail "the program took ${elapsed} ms to end"
grep -q "killing pid $saver" "$home/daemon.log" || e2e_fail "the daemon did not end the program itself"
echo "PASS saver_xscreensaver"
