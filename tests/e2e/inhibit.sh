#!/usr/bin/env bash
# No blanking during a card, tried on a private session bus with a stand-in service:
# one Inhibit when a card takes the screen and one UnInhibit with its cookie when the
# card closes, card after card; the GNOME session manager when the freedesktop service
# is absent; nothing at all in screen-saver mode; and a card as usual without a bus.
source "$(dirname "$0")/lib.sh"
HERE=$(cd "$(dirname "$0")" && pwd)

e2e_start "$1" 1024x768
printf '[Option]\r\nWait=0\r\nStartWait=500\r\n' >"$E2E_DIR/Quillon.ini"
LOG="$E2E_DIR/inhibit.log"
SERVICE_PID=""
BUS_PID=""
stop_helpers() {
  [ -n "$SERVICE_PID" ] && kill "$SERVICE_PID" 2>/dev/null || true
  [ -n "$BUS_PID" ] && kill "$BUS_PID" 2>/dev/null || true
  e2e_cleanup
}
trap stop_helpers EXIT

# The private bus: its address and process id on two lines.
dbus-daemon --session --fork --print-address=1 --print-pid=1 >"$E2E_DIR/bus"
DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p "$E2E_DIR/bus")
BUS_PID=$(sed -n 2p "$E2E_DIR/bus")
export DBUS_SESSION_BUS_ADDRESS

# start_service KIND: the stand-in, owning its name before the program starts.
start_service() {
  [ -n "$SERVICE_PID" ] && { kill "$SERVICE_PID"; wait "$SERVICE_PID" 2>/dev/null || true; }
  : >"$LOG"
  # The system Python: python3-dbus and python3-gi are Debian's packages.
  /usr/bin/python3 "$HERE/fake_inhibit_service.py" "$LOG" "$1" &
  SERVICE_PID=$!
  for _ in $(seq 50); do grep -q '^ready$' "$LOG" && return 0; sleep 0.1; done
  e2e_fail "the $1 stand-in did not come up"
}

calls() { grep -v '^ready$' "$LOG" || true; }

# run_card TEXT: types TEXT as line 1, runs the card and waits until it has the screen.
run_card() {
  local main
  main=$(e2e_wait_window "Quillon for DirectX" 15) || e2e_fail "main window did not appear"
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  xdotool mousemove --window "$main" 100 66 click 1 key ctrl+a
  xdotool type --delay 80 "$1"
  xdotool key Return
  e2e_wait_active_size 1024 768 10 || e2e_fail "the card did not take the screen"
}

# dismiss_card: moves the mouse until the finished card closes and the main window is
# in front again.
dismiss_card() {
  local active
  for _ in $(seq 40); do
    xdotool mousemove_relative -- 3 3
    sleep 0.3
    active=$(xdotool getactivewindow 2>/dev/null || true)
    [ -n "$active" ] && [ "$(xdotool getwindowname "$active")" = "Quillon for DirectX" ] &&
      eval "$(xdotool getwindowgeometry --shell "$active")" && [ "$WIDTH" = 277 ] && return 0
  done
  e2e_fail "the card did not close"
}

# wait_calls N: waits until the stand-in has N calls logged.
wait_calls() {
  for _ in $(seq 50); do [ "$(calls | wc -l)" -ge "$1" ] && return 0; sleep 0.1; done
  return 1
}

# --- the freedesktop service, two cards in a row
start_service freedesktop
e2e_run
run_card AB
wait_calls 1 || e2e_fail "no Inhibit when the card started: $(calls)"
sleep 1
[ "$(calls | wc -l)" = 1 ] || e2e_fail "more than one call while the card plays: $(calls)"
read -r what cookie name < <(calls | head -n 1)
[ "$what" = Inhibit ] && [ "$name" = Quillon ] || e2e_fail "first call is '$(calls | head -n 1)'"
e2e_shot inhibit-card >/dev/null
dismiss_card
wait_calls 2 || e2e_fail "no UnInhibit when the card closed: $(calls)"
[ "$(calls | sed -n 2p)" = "UnInhibit $cookie" ] || e2e_fail "second call is '$(calls | sed -n 2p)', not UnInhibit $cookie"

run_card CD
wait_calls 3 || e2e_fail "no Inhibit for the second card: $(calls)"
read -r what second _ < <(calls | sed -n 3p)
[ "$what" = Inhibit ] && [ "$second" != "$cookie" ] || e2e_fail "third call is '$(calls | sed -n 3p)'"
dismiss_card
wait_calls 4 || e2e_fail "no UnInhibit after the second card: $(calls)"
[ "$(calls | sed -n 4p)" = "UnInhibit $second" ] || e2e_fail "fourth call is '$(calls | sed -n 4p)'"
kill "$E2E_APP_PID"; wait "$E2E_APP_PID" 2>/dev/null || true
echo "freedesktop: $(calls | tr '\n' ';')"

# --- screen-saver mode: a card plays and nothing is asked
start_service freedesktop
e2e_run /s
e2e_wait_active_size 1024 768 15 || e2e_fail "no screen-saver card"
sleep 3
e2e_shot inhibit-saver >/dev/null
[ -z "$(calls)" ] || e2e_fail "screen-saver mode asked the desktop: $(calls)"
kill "$E2E_APP_PID"; wait "$E2E_APP_PID" 2>/dev/null || true

# --- only the GNOME session manager: the fallback, with the idle flag
start_service gnome
e2e_run
run_card EF
wait_calls 1 || e2e_fail "no Inhibit through the GNOME session manager: $(calls)"
read -r what cookie name flags < <(calls | head -n 1)
[ "$what $name $flags" = "Inhibit Quillon flags=8" ] || e2e_fail "GNOME call is '$(calls | head -n 1)'"
dismiss_card
wait_calls 2 || e2e_fail "no Uninhibit through the GNOME session manager: $(calls)"
[ "$(calls | sed -n 2p)" = "UnInhibit $cookie" ] || e2e_fail "GNOME release is '$(calls | sed -n 2p)'"
kill "$E2E_APP_PID"; wait "$E2E_APP_PID" 2>/dev/null || true
echo "gnome: $(calls | tr '\n' ';')"

# --- no session bus at all: the card plays as ever
kill "$SERVICE_PID"; SERVICE_PID=""
DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_DIR/no-bus" e2e_run
run_card GH
dismiss_card
e2e_is_running || e2e_fail "the program ended without a session bus"
echo "inhibit: ok"
