#!/usr/bin/env bash
# Japanese typed through an input method, as people type it on a Linux desktop: IBus
# with the Mozc engine on a private D-Bus session. Romaji typed with xdotool is converted
# (space) and committed (Return) into line 1 and line 2 and saved with the pencil: the
# user file holds its Shift-JIS bytes with CR LF. Then each action that reads or clears
# the lines (the pencil, Run, the eraser, the die, the export from the window's menu) is
# pressed while a composition is still open, and acts on the whole text the field shows;
# the cards and the exported picture are compared with ones made from the same text. A
# click in the field commits the composition once.
# Mozc refuses to run as root, so under root the session, the daemon and the program run
# as an unprivileged user of the test's own.
source "$(dirname "$0")/lib.sh"
PROGRAM=$1

skip() { echo "input_method: SKIP: $*"; exit 0; }
for tool in ibus-daemon ibus dbus-daemon; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-deps installs it)"
done
[ -f /usr/share/ibus/component/mozc.xml ] || skip "the Mozc engine for IBus (ibus-mozc) is not installed"

IM_USER=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  IM_USER=quillon-e2e
  id "$IM_USER" >/dev/null 2>&1 || useradd --create-home --shell /usr/sbin/nologin "$IM_USER"
fi

# The window manager must not talk to the input method itself.
unset GTK_IM_MODULE QT_IM_MODULE XMODIFIERS
e2e_start "$PROGRAM" 1024x768
IM_HOME="$E2E_DIR/home"
IM_BUS="unix:path=$E2E_DIR/bus"
mkdir -p "$IM_HOME" "$E2E_DIR/out"
printf '' >"$E2E_DIR/mine.qln"
printf '[File]\r\nUserFile=%s\r\n' "$E2E_DIR/mine.qln" >"$E2E_DIR/Quillon.ini"
[ "$(id -u)" -eq 0 ] && chown -R "$IM_USER" "$E2E_DIR"

# as_user CMD...: runs CMD in the test's session, as the unprivileged user under root.
as_user() {
  local vars=(PATH=/usr/local/bin:/usr/bin:/bin HOME="$IM_HOME" XDG_CONFIG_HOME="$XDG_CONFIG_HOME"
    DISPLAY="$DISPLAY" DBUS_SESSION_BUS_ADDRESS="$IM_BUS" LANG=C.UTF-8 NO_AT_BRIDGE=1
    ALSOFT_CONF="$ALSOFT_CONF")
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u "$IM_USER" -- env -i "${vars[@]}" "$@"
  else
    env -i "${vars[@]}" "$@"
  fi
}

# The daemons fork away from the test: every process that runs with the test's home is
# one of its own.
im_cleanup() {
  local pid environment
  for pid in $(pgrep -u "$IM_USER" 2>/dev/null || true); do
    environment=$({ tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null || true)
    if grep -qxF "HOME=$IM_HOME" <<<"$environment"; then
      kill "$pid" 2>/dev/null || true
    fi
  done
  e2e_cleanup
}
trap im_cleanup EXIT

# poll SECONDS CMD...: true as soon as CMD is, checked ten times a second.
poll() {
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 10))); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

as_user dbus-daemon --session --address="$IM_BUS" --fork --nopidfile >/dev/null 2>&1 ||
  skip "no D-Bus session could be started"
poll 20 test -S "$E2E_DIR/bus" || skip "the D-Bus session did not come up"
as_user ibus-daemon -dr >/dev/null 2>&1 || skip "ibus-daemon does not start"
ibus_up() { [[ "$(as_user ibus address 2>/dev/null || true)" == unix:* ]]; }
poll 60 ibus_up || skip "ibus-daemon did not come up within 60 s"
# IBus puts its own default engine in place once it has read its settings, so the engine
# is chosen until it stays.
engine_stays() {
  as_user ibus engine mozc-jp >/dev/null 2>&1 || true
  sleep 1
  [ "$(as_user ibus engine 2>/dev/null)" = mozc-jp ] || return 1
  sleep 1
  [ "$(as_user ibus engine 2>/dev/null)" = mozc-jp ]
}
poll 60 engine_stays || skip "IBus does not keep the Mozc engine"

(cd "$E2E_DIR" && as_user QT_QPA_PLATFORM=xcb QT_IM_MODULE=ibus ./quillon) >"$E2E_DIR/stdout.log" 2>&1 &
E2E_APP_PID=$!
main=$(e2e_wait_window "Quillon for DirectX" 30) || e2e_fail "main window did not appear"
xdotool windowactivate --sync "$main" 2>/dev/null || true

# Mozc shows its suggestions in a window of its own while it composes.
composing() { [ -n "$(xdotool search --onlyvisible --name '^mozc_renderer$' 2>/dev/null)" ]; }
not_composing() { ! composing; }
# click X Y: a click in the main window (line 1 at 100,66, line 2 at 100,106).
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; }
# compose ROMAJI: typed at the end of the focused line, left open.
compose() {
  xdotool key End
  xdotool type --delay 80 "$1"
  poll 20 composing || e2e_fail "no composition open after typing '$1'"
}
# type_line X Y ROMAJI [SHOT]: typed into a line (the composition kept as SHOT), converted
# and committed.
type_line() {
  click "$1" "$2"
  compose "$3"
  [ -n "${4:-}" ] && e2e_shot "$4" >/dev/null
  xdotool key space Return
  poll 20 not_composing || e2e_fail "'$3' was not committed"
}
# line_text X Y: what a line holds, copied through the clipboard.
line_text() {
  printf '<none>' | xclip -i -selection clipboard >/dev/null 2>&1
  click "$1" "$2"
  xdotool key End ctrl+a ctrl+c
  local text
  for _ in $(seq 30); do
    text=$(xclip -o -selection clipboard 2>/dev/null || true)
    [ "$text" != "<none>" ] && break
    sleep 0.1
  done
  [ "$text" = "<none>" ] && text=""
  printf '%s' "$text"
}
expect_lines() {
  local one two
  one=$(line_text 100 66)
  two=$(line_text 100 106)
  [ "$one" = "$1" ] && [ "$two" = "$2" ] || e2e_fail "$3: the lines hold '$one' / '$two', not '$1' / '$2'"
}
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
# The user file's line N, without its CR LF.
qln_line() { LC_ALL=C sed -n "$1p" "$E2E_DIR/mine.qln" | tr -d '\r\n'; }

# Mozc starts in direct input; Hiragana_Katakana switches it to hiragana. The key is
# pressed again if the first press was lost while the engine started; its first
# suggestions can be slow to show.
click 100 66
for attempt in 1 2 3 4; do
  xdotool key Hiragana_Katakana
  xdotool type --delay 80 "a"
  poll 30 composing && break
  [ "$attempt" = 4 ] && e2e_fail "Mozc did not switch to hiragana"
  xdotool key BackSpace BackSpace # whatever the key typed, composed or not
done
xdotool key BackSpace
poll 20 not_composing || e2e_fail "the trial composition did not go"
xdotool key End shift+Home BackSpace # a letter a lost press typed directly

# Typed, converted and committed; the pencil saves it.
type_line 100 66 "nihongo" input-method-composing
type_line 100 106 "toukyou"
expect_lines "日本語" "東京" "typed and converted"
click 238 40
e2e_answer "確認" input-method-saved
saved=$( { sjis "日本語 東京"; printf '\r\n'; } | xxd -p)
[ "$(xxd -p "$E2E_DIR/mine.qln")" = "$saved" ] || e2e_fail "mine.qln holds $(xxd -p "$E2E_DIR/mine.qln"), not $saved"

# The pencil while line 2 composes "へ": saved with it, and it does not land again.
click 100 106
compose "he"
e2e_shot input-method-pencil-composing >/dev/null
click 238 40
e2e_answer "確認" input-method-saved-composing
[ "$(qln_line 2 | xxd -p)" = "$(sjis "日本語 東京へ" | xxd -p)" ] || e2e_fail "the second save holds '$(qln_line 2 | iconv -f CP932 -t UTF-8)'"
expect_lines "日本語" "東京へ" "after the pencil"

# card NAME: Run pressed, the finished card (line 1 flush left above, line 2 flush right
# below) kept as NAME and dismissed.
card() {
  click 243 204
  e2e_wait_active_size 1024 768 20 || e2e_fail "$1: the card is not full-screen"
  local shot
  for _ in $(seq 150); do
    shot=$(e2e_shot "$1")
    [ "$(lit "$shot" 150x384+0+0)" -gt 50 ] && [ "$(lit "$shot" 150x384+874+384)" -gt 50 ] && break
    sleep 0.2
  done
  sleep 0.5
  shot=$(e2e_shot "$1")
  xdotool key space
  e2e_wait_active_size 277 225 20 || e2e_fail "$1: the main window is not back after the card"
  xdotool windowactivate --sync "$main" 2>/dev/null || true
}
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = 0 ]; }

# Run while line 1 composes "に": the card is that of the whole line, which the pasted
# text gives too.
click 100 66
compose "ni"
card input-method-card-composing
expect_lines "日本語に" "東京へ" "after Run"
click 100 66
xdotool key ctrl+a BackSpace
e2e_paste "日本語に"
card input-method-card-pasted
same_picture "$E2E_ARTIFACTS/input-method-card-composing.png" "$E2E_ARTIFACTS/input-method-card-pasted.png" ||
  e2e_fail "the card run during the composition differs from the card of the whole text"

# The eraser while the lines hold only a composition: it erases that, not restores what
# it erased before; a second press brings it back, once.
click 222 40
expect_lines "" "" "after the eraser"
click 100 66
compose "ki"
click 222 40
poll 20 not_composing || e2e_fail "the composition stayed after the eraser"
expect_lines "" "" "after the eraser during a composition"
click 222 40
expect_lines "き" "" "after the eraser's undo"

# The die while line 1 composes: a catalogue title, with nothing after it.
click 100 66
compose "ru"
click 256 40
poll 20 not_composing || e2e_fail "the composition stayed after the die"
one=$(line_text 100 66)
two=$(line_text 100 106)
item=$one
[ -n "$two" ] && item="$one $two"
grep -qxF "$item" "$(dirname "$0")/../../resources/catalogue/"part*.txt ||
  e2e_fail "the die gave '$item', which is not a catalogue title"

# The export from the window's menu while line 1 composes "の": the picture is that of
# the whole line, as the command line exports it.
click 100 66
compose "no"
# The menu is a window of the program's own beside the main window.
menu_open() {
  local shown
  shown=$(xdotool search --onlyvisible --classname '^quillon$' 2>/dev/null || true)
  [ -n "$shown" ] && grep -qvx "$main" <<<"$shown"
}
xdotool mousemove --window "$main" 150 20 click 3
poll 20 menu_open || e2e_fail "the window's menu did not open"
xdotool key Down Return
chooser=$(e2e_wait_window "カードを書き出す" 20) || e2e_fail "no export chooser"
xdotool windowactivate --sync "$chooser" 2>/dev/null || true
sleep 0.3
xdotool key ctrl+a
e2e_paste "$E2E_DIR/out/card.png"
e2e_shot input-method-export-chooser >/dev/null
xdotool key Return
poll 60 test -s "$E2E_DIR/out/card.png" || e2e_fail "the export wrote no picture"
expect_lines "${one}の" "$two" "after the export"
(cd "$E2E_DIR" && as_user QT_QPA_PLATFORM=offscreen ./quillon --export out/reference.png "${one}の" "$two") \
  >/dev/null 2>&1 || e2e_fail "the reference picture could not be exported"
cp "$E2E_DIR/out/card.png" "$E2E_ARTIFACTS/input-method-export.png"
same_picture "$E2E_DIR/out/card.png" "$E2E_DIR/out/reference.png" ||
  e2e_fail "the picture exported during the composition is not that of the whole line"

# A click in the field while line 2 composes "うみ" commits it, once.
click 100 106
compose "umi"
click 200 106
poll 20 not_composing || e2e_fail "the composition stayed after a click in the field"
expect_lines "${one}の" "${two}うみ" "after a click in the field"

e2e_is_running || e2e_fail "program ended"
echo "input_method: ok"
