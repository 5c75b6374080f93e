#!/usr/bin/env bash
# The interface's language: English under an English locale, exactly today's Japanese
# under a Japanese one and under C, and --lang over either. The settings dialog, the
# about box, the confirmation box and the export's usage are checked in each; every
# window and chooser is kept as a screenshot in both languages.
# Usage: tests/e2e/language.sh path/to/quillon
source "$(dirname "$0")/lib.sh"
e2e_start "$1" 800x600

JA_USAGE='使い方: quillon --export ファイル [--size 幅x高さ] [--fps N] [--seed N] [--transparent] [--color RRGGBB] [--background RRGGBB|画像] [--loop N] 1行目 [2行目]'
EN_USAGE='Usage: quillon --export FILE [--size WIDTHxHEIGHT] [--fps N] [--seed N] [--transparent] [--color RRGGBB] [--background RRGGBB|IMAGE] [--loop N] LINE1 [LINE2]'

declare -A TITLE=(
  [ja,settings]='設定' [ja,about]='情報' [ja,confirm]='確認' [ja,export]='カードを書き出す'
  [en,settings]='Settings' [en,about]='About' [en,confirm]='Confirm' [en,export]='Export card'
)

# usage_in LOCALE WANT [ARGS...]: `quillon --export` with nothing more says how to use it.
usage_in() {
  local locale=$1 want=$2 said status=0
  shift 2
  said=$(cd "$E2E_DIR" && LANG=$locale ./quillon "$@" --export 2>&1 >/dev/null) || status=$?
  [ "$status" = 2 ] || e2e_fail "--export without a file under $locale $*: status $status"
  local line=$JA_USAGE
  [ "$want" = en ] && line=$EN_USAGE
  grep -qxF -- "$line" <<<"$said" || e2e_fail "usage under $locale $* is not the $want one: $said"
}

# help_in LOCALE WANT: --help and --version print to standard output and end with 0, with
# no display at all; the usage names the export as the usage of a bad one does.
help_in() {
  local locale=$1 want=$2 said status=0 line=$JA_USAGE
  [ "$want" = en ] && line=$EN_USAGE
  said=$(cd "$E2E_DIR" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANG=$locale \
    ./quillon --help 2>"$E2E_DIR/help.err") || status=$?
  [ "$status" = 0 ] && [ ! -s "$E2E_DIR/help.err" ] ||
    e2e_fail "--help under $locale: status $status, $(cat "$E2E_DIR/help.err")"
  [ "$(head -n 1 <<<"$said" | cut -d' ' -f1-2)" = "${line%% --export*}" ] &&
    grep -qxF -- "       ${line#* }" <<<"$said" || e2e_fail "--help under $locale is not the $want usage: $said"
  said=$(cd "$E2E_DIR" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANG=$locale \
    ./quillon --version 2>&1) || status=$?
  [ "$status" = 0 ] && grep -qx 'quillon [0-9.]*' <<<"$said" || e2e_fail "--version under $locale: $status $said"
}

# fail TAG MESSAGE: the screen as it was is kept beside the failure.
fail() {
  e2e_shot "language-$1-failure" >/dev/null
  e2e_fail "$1: $2"
}

# press_in WINDOW KEY: KEY typed into WINDOW, brought to the front first.
press_in() {
  xdotool windowactivate --sync "$1" 2>/dev/null || true
  sleep 0.3
  xdotool key "$2"
}

# window_shot ID NAME: a screenshot of one window, kept with the artifacts.
window_shot() {
  import -window "$1" "$E2E_ARTIFACTS/$2.png"
}

# new_active WINDOW: the active window once it is another than WINDOW.
new_active() {
  local active
  for _ in $(seq 100); do
    active=$(xdotool getactivewindow 2>/dev/null || true)
    [ -n "$active" ] && [ "$active" != "$1" ] && { echo "$active"; return 0; }
    sleep 0.1
  done
  return 1
}

# opened_by_click TAG WANT WINDOW X Y KIND: a click at X,Y in WINDOW opens the window of
# KIND titled in the language WANT; it is kept as a screenshot and its id printed.
opened_by_click() {
  local tag=$1 want=$2 opened
  xdotool mousemove --window "$3" "$4" "$5" click 1
  opened=$(e2e_wait_window "${TITLE[$want,$6]}") || return 1
  xdotool windowactivate --sync "$opened" 2>/dev/null || true
  sleep 0.5
  window_shot "$opened" "language-$tag-$6"
  echo "$opened"
}

# chooser_shot TAG DIALOG X Y NAME: the chooser a click at X,Y in DIALOG opens is kept as a
# screenshot, its title said, and it is closed again.
chooser_shot() {
  local tag=$1 dialog=$2 chooser
  xdotool windowactivate --sync "$dialog" 2>/dev/null || true
  xdotool mousemove --window "$dialog" "$3" "$4" click 1
  chooser=$(new_active "$dialog") || fail "$tag" "no $5"
  sleep 0.8
  window_shot "$chooser" "language-$tag-$5"
  echo "$tag $5: $(xdotool getwindowname "$chooser")"
  press_in "$chooser" Escape
  sleep 0.5
}

# windows_in TAG LOCALE WANT [ARGS...]: the settings dialog, the about box and the
# confirmation box show the language WANT; with ALL=1 the choosers are kept too.
windows_in() {
  local tag=$1 locale=$2 want=$3 main dialog box chooser
  shift 3
  LANG=$locale e2e_run "$@"
  main=$(e2e_wait_window "Quillon for DirectX" 20) || fail "$tag" "main window not shown"
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  sleep 0.5
  window_shot "$main" "language-$tag-main"

  dialog=$(opened_by_click "$tag" "$want" "$main" 104 204 settings) ||
    fail "$tag" "no settings dialog titled ${TITLE[$want,settings]}"
  if [ "${ALL:-0}" = 1 ]; then
    chooser_shot "$tag" "$dialog" 76 43 file-chooser
    chooser_shot "$tag" "$dialog" 292 43 font-chooser
  fi
  press_in "$dialog" Escape
  main=$(e2e_wait_window "Quillon for DirectX") || fail "$tag" "main window not back after settings"
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  sleep 0.8

  dialog=$(opened_by_click "$tag" "$want" "$main" 35 204 about) ||
    fail "$tag" "no about box titled ${TITLE[$want,about]}"
  press_in "$dialog" Return
  main=$(e2e_wait_window "Quillon for DirectX") || fail "$tag" "main window not back after about"
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  sleep 0.3

  # The pencil with no user file asks whether to make one; No changes nothing.
  xdotool mousemove --window "$main" 100 66 click 1
  e2e_paste "星の記憶"
  box=$(opened_by_click "$tag" "$want" "$main" 238 40 confirm) ||
    fail "$tag" "no confirmation box titled ${TITLE[$want,confirm]}"
  press_in "$box" Escape
  wait_until 5 "$tag: confirmation box still up" e2e_no_window "${TITLE[$want,confirm]}"
  main=$(e2e_wait_window "Quillon for DirectX") || fail "$tag" "main window not back after the box"

  if [ "${ALL:-0}" = 1 ]; then
    xdotool windowactivate --sync "$main" 2>/dev/null || true
    xdotool key ctrl+e
    chooser=$(e2e_wait_window "${TITLE[$want,export]}") || fail "$tag" "no export chooser titled ${TITLE[$want,export]}"
    sleep 0.8
    window_shot "$chooser" "language-$tag-export-chooser"
    # A video, so that its progress is up long enough to be seen; then cancelled.
    xdotool key ctrl+a
    xdotool type --delay 20 "$E2E_DIR/card-$tag.mp4"
    xdotool key Return
    local progress=""
    for _ in $(seq 100); do
      progress=$(xdotool search --onlyvisible --name '^Quillon for DirectX$' 2>/dev/null |
        grep -vx "$main" | head -n 1 || true)
      [ -n "$progress" ] && break
      sleep 0.1
    done
    [ -n "$progress" ] || fail "$tag" "no export progress"
    # Pages held for many frames are encoded once, so the export may end before the shot.
    window_shot "$progress" "language-$tag-export-progress" 2>/dev/null ||
      echo "$tag: the export ended before its progress was shot"
    press_in "$progress" Escape 2>/dev/null || true
    for _ in $(seq 100); do
      xdotool search --onlyvisible --name '^Quillon for DirectX$' 2>/dev/null | grep -qvx "$main" || break
      sleep 0.1
    done
  fi
  press_in "$main" Escape
  e2e_wait_exit 10 || fail "$tag" "program did not end"
}

# The command line's usage.
usage_in en_US.UTF-8 en
usage_in ja_JP.UTF-8 ja
usage_in C.UTF-8 ja
usage_in POSIX ja
usage_in en_US.UTF-8 ja --lang ja
usage_in ja_JP.UTF-8 en --lang=en
usage_in C.UTF-8 en --lang en
help_in en_US.UTF-8 en
help_in ja_JP.UTF-8 ja
# A language the program does not have is refused before anything else.
status=0
said=$(cd "$E2E_DIR" && ./quillon --lang de 2>&1) || status=$?
[ "$status" = 2 ] && grep -q -- "--lang" <<<"$said" || e2e_fail "--lang de: status $status, $said"

# The windows.
ALL=1 windows_in en en_US.UTF-8 en
ALL=1 windows_in ja ja_JP.UTF-8 ja
windows_in c C.UTF-8 ja
windows_in lang-ja en_US.UTF-8 ja --lang ja
windows_in lang-en ja_JP.UTF-8 en --lang en

# Under C and under --lang ja in an English locale the boxes are one and the same,
# pixel for pixel, and the English box is another. (A Japanese locale makes fontconfig
# prefer other faces for Latin letters, so its shots are compared by eye.)
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
for window in confirm settings about; do
  same "$E2E_ARTIFACTS/language-c-$window.png" "$E2E_ARTIFACTS/language-lang-ja-$window.png" ||
    e2e_fail "the $window window under --lang ja differs from the one under C"
done
same "$E2E_ARTIFACTS/language-en-confirm.png" "$E2E_ARTIFACTS/language-c-confirm.png" &&
  e2e_fail "the English confirmation box is the Japanese one"
echo "PASS: language"
