# Shared pieces of the end-to-end tests: a private X server with a window manager,
# the program started from a folder of its own, screenshots, and captured sound.
# Source it; every test calls e2e_start first.
set -euo pipefail

E2E_ARTIFACTS=${E2E_ARTIFACTS:-${PWD}/build/e2e-artifacts}
mkdir -p "$E2E_ARTIFACTS"

e2e_fail() { echo "FAIL: $*" >&2; exit 1; }

e2e_cleanup() {
  [ -n "${E2E_APP_PID:-}" ] && kill "$E2E_APP_PID" 2>/dev/null || true
  [ -n "${E2E_SILENCE_PID:-}" ] && kill "$E2E_SILENCE_PID" 2>/dev/null || true
  [ -n "${E2E_PULSE_PID:-}" ] && kill "$E2E_PULSE_PID" 2>/dev/null || true
  [ -n "${E2E_WM_PID:-}" ] && kill "$E2E_WM_PID" 2>/dev/null || true
  if [ -n "${E2E_X_PID:-}" ] && kill "$E2E_X_PID" 2>/dev/null; then
    # Gone before the next test starts its own.
    for _ in $(seq 50); do kill -0 "$E2E_X_PID" 2>/dev/null || break; sleep 0.1; done
  fi
  [ -n "${E2E_DIR:-}" ] && [ -z "${E2E_KEEP:-}" ] && rm -rf "$E2E_DIR"
  return 0
}

# e2e_start PROGRAM [WIDTHxHEIGHT]: X server, window manager, and a folder holding a
# copy of the program.
e2e_start() {
  local program=$1 size=${2:-1024x768}
  E2E_DIR=$(mktemp -d)
  trap e2e_cleanup EXIT
  cp "$program" "$E2E_DIR/quillon"
  # A Quillon.ini the test puts beside the program is used there; otherwise the
  # settings go to a configuration folder of the test's own, never the runner's.
  export XDG_CONFIG_HOME="$E2E_DIR/config"
  # The windows and messages the tests look for are the Japanese ones, whatever the
  # runner's locale; a test of another language sets its own.
  export LANG=C.UTF-8
  unset LANGUAGE LC_ALL LC_MESSAGES
  # A display of its own, taken at random among many: tests run side by side never share
  # one, nor does a test take the number of a server still going away. Xvfb writes the
  # number to the file only once it is ready, and only if the display is its own.
  local n
  for _ in $(seq 20); do
    n=$((200 + RANDOM % 800))
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$E2E_DIR/display" >/dev/null 2>&1 &
    E2E_X_PID=$!
    for _ in $(seq 100); do
      [ -s "$E2E_DIR/display" ] || ! kill -0 "$E2E_X_PID" 2>/dev/null && break
      sleep 0.1
    done
    [ -s "$E2E_DIR/display" ] && break
    kill "$E2E_X_PID" 2>/dev/null || true
  done
  [ -s "$E2E_DIR/display" ] || e2e_fail "Xvfb did not start"
  export DISPLAY=":$n"
  openbox >"$E2E_DIR/openbox.log" 2>&1 &
  E2E_WM_PID=$!
  for _ in $(seq 200); do e2e_window_manager_up && break; sleep 0.1; done
  e2e_window_manager_up || e2e_fail "openbox did not start: $(cat "$E2E_DIR/openbox.log")"
  export QT_QPA_PLATFORM=xcb
  # Sound goes to a wave file, never to a device.
  E2E_WAVE="$E2E_DIR/capture.wav"
  cat >"$E2E_DIR/alsoft.conf" <<CONF
[general]
drivers = wave
[wave]
file = $E2E_WAVE
CONF
  export ALSOFT_CONF="$E2E_DIR/alsoft.conf"
}

# e2e_fine_sound_capture: the wave capture mixes in short periods (5 ms), so that a cue
# starts close to its call; for the scripts that time what they hear.
e2e_fine_sound_capture() {
  E2E_WAVE="$E2E_DIR/capture.wav"
  cat >"$E2E_DIR/alsoft.conf" <<CONF
[general]
drivers = wave
frequency = 48000
period_size = 240
[wave]
file = $E2E_WAVE
CONF
  export ALSOFT_CONF="$E2E_DIR/alsoft.conf"
}

# e2e_start_pulse: a private PulseAudio server (in $E2E_DIR/pulse, named by PULSE_SERVER)
# with the null sink "quillon" (22050 Hz mono), ready for clients, as E2E_PULSE_PID. A
# stream of silence (E2E_SILENCE_PID) keeps the sink running, so that a recording of its
# monitor is continuous from its start. May be called again once the server is gone.
e2e_start_pulse() {
  local dir=$E2E_DIR/pulse
  mkdir -p "$dir/home" "$dir/runtime"
  chmod 700 "$dir/runtime"
  export PULSE_SERVER="unix:$dir/runtime/native"
  HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --system=false \
    --log-target=file:"$dir/server.log" \
    -L "module-native-protocol-unix socket=$dir/runtime/native auth-anonymous=1" \
    -L "module-null-sink sink_name=quillon rate=22050 channels=1" >/dev/null 2>&1 &
  E2E_PULSE_PID=$!
  disown "$E2E_PULSE_PID" # a test may kill it on purpose
  wait_until 5 "the PulseAudio server did not start" \
    sh -c 'pactl list short sinks 2>/dev/null | grep -q quillon'
  pacat --raw --format=s16le --rate=22050 --channels=1 </dev/zero >/dev/null 2>&1 &
  E2E_SILENCE_PID=$!
}

# e2e_window_manager_up: a window manager has announced itself on the root window.
e2e_window_manager_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }

# e2e_run [ARGS...]: starts the program in the background.
e2e_run() {
  (cd "$E2E_DIR" && exec ./quillon "$@") >"$E2E_DIR/stdout.log" 2>&1 &
  E2E_APP_PID=$!
}

# e2e_wait_window NAME [SECONDS]: the id of a visible window with that title.
e2e_wait_window() {
  local name=$1 seconds=${2:-10} id
  for _ in $(seq $((seconds * 10))); do
    id=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# e2e_paste TEXT: puts TEXT into the focused field through the clipboard. Typing
# kana and kanji with xdotool remaps a spare key code for each character, which races
# with the program on a loaded machine and now and then types the wrong character.
e2e_paste() {
  printf '%s' "$1" | xclip -i -selection clipboard >/dev/null 2>&1
  sleep 0.2
  xdotool key ctrl+v
  sleep 0.2
}

# e2e_clipboard_is TEXT: the clipboard holds TEXT.
e2e_clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

# e2e_shot NAME: a screenshot of the whole screen, kept with the artifacts.
e2e_shot() {
  import -window root "$E2E_ARTIFACTS/$1.png"
  echo "$E2E_ARTIFACTS/$1.png"
}

# e2e_pixel FILE X Y: "R,G,B" of one pixel of a screenshot.
e2e_pixel() {
  convert "$1" -format "%[fx:int(255*u.p{$2,$3}.r)],%[fx:int(255*u.p{$2,$3}.g)],%[fx:int(255*u.p{$2,$3}.b)]" info:
}

# wait_until SECONDS MESSAGE COMMAND...: runs COMMAND every tenth of a second until it
# succeeds; fails the test with MESSAGE if SECONDS (a fraction allowed) pass first. What
# the program does after an action takes its time: a check that something is gone or has
# stopped waits for it, rather than asking once at the instant after the action.
wait_until() {
  local seconds=$1 message=$2 deadline
  shift 2
  deadline=$(($(date +%s%N) / 1000000 + $(awk -v s="$seconds" 'BEGIN { print int(s * 1000) }')))
  until "$@"; do
    [ "$(($(date +%s%N) / 1000000))" -lt "$deadline" ] || e2e_fail "$message"
    sleep 0.1
  done
}

# e2e_no_window NAME: no visible window has that title.
e2e_no_window() { [ -z "$(xdotool search --onlyvisible --name "^${1}\$" 2>/dev/null || true)" ]; }

# lit FILE [GEOMETRY]: the white pixels (over half brightness) of a screenshot, or of its
# part GEOMETRY (WIDTHxHEIGHT+X+Y).
lit() {
  convert "$1" ${2:+-crop "$2" +repage} -colorspace gray -threshold 50% \
    -format "%[fx:int(mean*w*h+0.5)]" info:
}

# e2e_shoot_until NAME SECONDS TEST [ARGS...]: screenshots until TEST holds for one (given
# the file, then ARGS); prints that screenshot's file, or fails after SECONDS.
e2e_shoot_until() {
  local name=$1 seconds=$2 test=$3 shot
  shift 3
  for _ in $(seq $((seconds * 5))); do
    shot=$(e2e_shot "$name")
    "$test" "$shot" "$@" && { echo "$shot"; return 0; }
    sleep 0.2
  done
  return 1
}

# e2e_card_done SHOT: a finished card of two lines on a 1024 × 768 screen: line 1 starts
# near the left edge of the upper half, where a character typed alone, centred, never
# reaches. (A card of one line is centred.)
e2e_card_done() { [ "$(lit "$1" 150x384+0+0)" -gt 50 ]; }

# e2e_is_running: the program is still running.
e2e_is_running() { kill -0 "$E2E_APP_PID" 2>/dev/null; }
# e2e_gone PID: that process has ended (a zombie not yet reaped counts as ended).
e2e_gone() { [ ! -e "/proc/$1" ] || [ "$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" = Z ]; }

# e2e_wait_exit SECONDS: waits for the program to end by itself.
e2e_wait_exit() {
  local seconds=$1
  for _ in $(seq $((seconds * 10))); do
    e2e_is_running || return 0
    sleep 0.1
  done
  return 1
}

# e2e_wait_active_size WIDTH HEIGHT [SECONDS]: waits until the active window has that size.
e2e_wait_active_size() {
  local want_w=$1 want_h=$2 seconds=${3:-10} active
  for _ in $(seq $((seconds * 10))); do
    active=$(xdotool getactivewindow 2>/dev/null || true)
    if [ -n "$active" ]; then
      eval "$(xdotool getwindowgeometry --shell "$active" 2>/dev/null)"
      [ "${WIDTH:-}" = "$want_w" ] && [ "${HEIGHT:-}" = "$want_h" ] && return 0
    fi
    sleep 0.1
  done
  return 1
}

# e2e_main_window_lines LINE1 LINE2: the program's main window in front, the two lines
# pasted into its fields; prints the window's id.
e2e_main_window_lines() {
  local main
  main=$(e2e_wait_window "Quillon for DirectX" 20) || e2e_fail "main window did not appear"
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  xdotool mousemove --window "$main" 100 66 click 1
  e2e_paste "$1"
  xdotool key Tab
  e2e_paste "$2"
  echo "$main"
}

# e2e_dismiss_and_quit: a key dismisses the card; Esc in the main window ends the program.
e2e_dismiss_and_quit() {
  local main
  xdotool key space
  sleep 0.5
  main=$(e2e_wait_window "Quillon for DirectX" 5) || e2e_fail "main window gone"
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  xdotool key Escape
  e2e_wait_exit 10 || e2e_fail "program did not end"
}

# e2e_onsets FILE RATE [THRESHOLD]: the onsets of sound in raw 16-bit mono samples, in ms.
e2e_onsets() { python3 "$(dirname "${BASH_SOURCE[0]}")/onsets.py" "$@"; }

# e2e_answer TITLE SHOT: answers the box or chooser titled TITLE that is up with Enter (its
# default button), keeping a screenshot named SHOT.
e2e_answer() {
  local window
  window=$(e2e_wait_window "$1" 10) || e2e_fail "no window '$1' ($2)"
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  sleep 0.3
  e2e_shot "$2" >/dev/null
  xdotool key Return
  sleep 0.5
}

# The card "ABC" / "DE" with the initial settings: StartWait 1500, Wait 120. It types with
# a fixed cadence: the first two characters 220 ms (100 + Wait), the end of line 1 410
# (290 + Wait), the first of line 2 120 (Wait), the end of the text 410; then the card,
# held for 7000 ms.
E2E_TICKS_MS="1500 1720 1940 2350 2470"
E2E_CARD_MS=2880
E2E_LENGTH_MS=$((E2E_CARD_MS + 7000))

# e2e_export ARGS...: quillon --export ARGS with no display at all, from the run's folder;
# its standard error goes to $E2E_DIR/export.err, a file, so progress comes in lines.
e2e_export() {
  (cd "$E2E_DIR" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ./quillon --export "$@") \
    2>"$E2E_DIR/export.err"
}

# e2e_cues_on_cadence FILE MS: the typing cues and the sting of the "ABC" / "DE" card, found
# in FILE's decoded sound, each within MS of its tick.
e2e_cues_on_cadence() {
  ffmpeg -v error -y -i "$1" -ac 1 -ar 48000 -f s16le "$E2E_DIR/sound.raw" || return 1
  e2e_onsets "$E2E_DIR/sound.raw" 48000 5000 >"$E2E_DIR/onsets.txt"
  python3 - "$E2E_DIR/onsets.txt" "$E2E_TICKS_MS $E2E_CARD_MS" "$2" <<'PY'
import sys
onsets = [float(l) for l in open(sys.argv[1])]
want = [int(t) for t in sys.argv[2].split()]
print("onsets (ms):", [round(o) for o in onsets[:12]])
found = [min(onsets, key=lambda o: abs(o - t)) if onsets else -1e9 for t in want]
bad = [(t, round(f)) for t, f in zip(want, found) if abs(f - t) > int(sys.argv[3])]
sys.exit("missing or late: %s" % bad if bad else 0)
PY
}
