#!/usr/bin/env bash
# The Debian package as a user meets it: `cpack -G DEB` in the build folder makes it,
# the desktop's validators and lintian accept what it holds, apt installs it, a fresh
# user with an empty home starts the program from the menu entry's Exec line and the
# settings dialog's OK writes ~/.config/quillon/Quillon.ini, and `dpkg -r` takes every
# file away again. The machine is left as it was found.
source "$(dirname "$0")/lib.sh"
BUILD=$(cd "$(dirname "$1")" && pwd)
[ "$(id -u)" = 0 ] || e2e_fail "installing a package needs root"
dpkg-query -W -f='${Status}' quillon 2>/dev/null | grep -q 'ok installed' &&
  e2e_fail "quillon is installed already; this test installs and removes it itself"

e2e_start "$1" 1024x768
WORK="$E2E_DIR/package"
mkdir -p "$WORK"
USER_NAME="quillon-e2e-$$"
USER_HOME="/tmp/$USER_NAME"
USER_RUNTIME="/tmp/$USER_NAME-runtime"
INSTALLED=""
NEW_PACKAGES=""
finish() {
  set +e
  for log in "$WORK"/*.log; do cp "$log" "$E2E_ARTIFACTS/package-$(basename "$log")" 2>/dev/null; done
  stop_program
  [ -n "$INSTALLED" ] && dpkg -r quillon >/dev/null 2>&1
  # shellcheck disable=SC2086
  [ -n "$NEW_PACKAGES" ] && apt-get purge -y -qq $NEW_PACKAGES >/dev/null 2>&1
  id "$USER_NAME" >/dev/null 2>&1 && userdel "$USER_NAME"
  rm -rf "$USER_HOME" "$USER_RUNTIME"
  e2e_cleanup
}
# The program as the user runs it writes its own process id (the shell execs into it).
stop_program() {
  if [ -s "$USER_RUNTIME/program.pid" ]; then
    kill "$(cat "$USER_RUNTIME/program.pid")" 2>/dev/null
    rm -f "$USER_RUNTIME/program.pid"
  fi
  [ -n "${E2E_APP_PID:-}" ] && { wait "$E2E_APP_PID" 2>/dev/null || true; }
  E2E_APP_PID=""
  return 0
}
trap finish EXIT

# --- the package
(cd "$BUILD" && cpack -G DEB) >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log"; e2e_fail "cpack failed"; }
DEB=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' "$WORK/cpack.log")
[ -f "$DEB" ] || e2e_fail "cpack names no package: $(cat "$WORK/cpack.log")"
version=$(dpkg-deb -f "$DEB" Version)
arch=$(dpkg-deb -f "$DEB" Architecture)
[ "$(basename "$DEB")" = "quillon_${version}_${arch}.deb" ] || e2e_fail "package named $(basename "$DEB")"
depends=$(dpkg-deb -f "$DEB" Depends)
for need in libopenal1 qt6-qpa-plugins fonts-ipafont-mincho libqt6widgets6 libqt6dbus6; do
  grep -q "$need" <<<"$depends" || e2e_fail "Depends lacks $need: $depends"
done
dpkg-deb -f "$DEB" Recommends | grep -q ffmpeg || e2e_fail "ffmpeg is not recommended"
dpkg-deb -f "$DEB" Recommends | grep -qF "ibus | fcitx5-frontend-qt6" || e2e_fail "no input method front end is recommended"
dpkg-deb -f "$DEB" Suggests | grep -q xscreensaver || e2e_fail "xscreensaver is not suggested"
echo "package: $(basename "$DEB"), depends: $depends"

# --- what it holds, checked by the desktop's own validators
TREE="$WORK/tree"
dpkg-deb -x "$DEB" "$TREE"
for f in usr/bin/quillon usr/share/man/man6/quillon.6.gz usr/share/doc/quillon/copyright \
  usr/share/doc/quillon/changelog.gz usr/share/xscreensaver/config/quillon.xml \
  usr/share/icons/hicolor/scalable/apps/org.quillon.Quillon.svg; do
  [ -f "$TREE/$f" ] || e2e_fail "the package lacks /$f"
done
for size in 16 22 24 32 48 64 128 256; do
  png="$TREE/usr/share/icons/hicolor/${size}x${size}/apps/org.quillon.Quillon.png"
  [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || e2e_fail "no ${size}px icon"
done
[ "$(readlink "$TREE/usr/libexec/xscreensaver/quillon")" = ../../bin/quillon ] ||
  e2e_fail "the screen saver's link points to $(readlink "$TREE/usr/libexec/xscreensaver/quillon")"
desktop-file-validate "$TREE/usr/share/applications/org.quillon.Quillon.desktop" ||
  e2e_fail "desktop entry rejected"
desktop-file-validate "$TREE/usr/share/applications/screensavers/quillon.desktop" ||
  e2e_fail "screen-saver entry rejected"
grep -qx 'Categories=Screensaver;' "$TREE/usr/share/applications/screensavers/quillon.desktop" &&
  grep -q '^OnlyShowIn=' "$TREE/usr/share/applications/screensavers/quillon.desktop" ||
  e2e_fail "the screen-saver entry needs Categories=Screensaver; and OnlyShowIn"
appstreamcli validate --no-net "$TREE/usr/share/metainfo/org.quillon.Quillon.metainfo.xml" ||
  e2e_fail "AppStream metadata rejected"
appstreamcli validate-tree --no-net "$TREE" || e2e_fail "AppStream rejects the installed tree"
/usr/bin/python3 - "$TREE/usr/share/xscreensaver/config/quillon.xml" <<'PY' || e2e_fail "screen-saver form"
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == "screensaver" and root.get("name") == "quillon", root.attrib
args = {e.get("arg") or e.get("arg-set") for e in root.iter() if e.get("arg") or e.get("arg-set")}
assert args == {"--root", "--linger %", "--seed %", "--sound", "--file %"}, args
PY
# The manual page lists every option and switch, and man finds nothing to complain of.
page=$(MANWIDTH=100 man -l "$TREE/usr/share/man/man6/quillon.6.gz" 2>"$WORK/man.err")
[ ! -s "$WORK/man.err" ] || e2e_fail "man: $(cat "$WORK/man.err")"
for option in /S /P --config --root --window-id --window --file --linger --seed --sound \
  --export --size --fps --help --version XSCREENSAVER_WINDOW XDG_CONFIG_HOME --lang LANG; do
  grep -q -- "$option" <<<"$page" || e2e_fail "the manual page does not mention $option"
done
# The Japanese page too, as man shows it under a Japanese locale.
page=$(LANG=ja_JP.UTF-8 MANWIDTH=100 man --warnings -E UTF-8 -l \
  "$TREE/usr/share/man/ja/man6/quillon.6.gz" 2>"$WORK/man-ja.err")
[ ! -s "$WORK/man-ja.err" ] || e2e_fail "man (ja): $(cat "$WORK/man-ja.err")"
for word in 名前 書式 オプション --lang --export --root --help --version XSCREENSAVER_WINDOW; do
  grep -q -- "$word" <<<"$page" || e2e_fail "the Japanese manual page does not show $word"
done
# The licence: MIT, in Debian's words and in AppStream's.
grep -qx 'License: Expat' "$TREE/usr/share/doc/quillon/copyright" ||
  e2e_fail "the copyright file does not give the MIT (Expat) licence"
grep -q '<project_license>MIT</project_license>' \
  "$TREE/usr/share/metainfo/org.quillon.Quillon.metainfo.xml" || e2e_fail "no project_license MIT"
# The scalable icon is the same picture as the 256-pixel one.
rsvg-convert -w 256 -h 256 "$TREE/usr/share/icons/hicolor/scalable/apps/org.quillon.Quillon.svg" \
  -o "$WORK/svg.png" || e2e_fail "the SVG icon does not render"
rmse=$({ compare -metric RMSE "$WORK/svg.png" \
  "$TREE/usr/share/icons/hicolor/256x256/apps/org.quillon.Quillon.png" null: 2>&1 || true; } |
  sed 's/.*(\(.*\))/\1/')
[ "$(echo "$rmse < 0.03" | bc)" = 1 ] || e2e_fail "SVG and 256-pixel icon differ (RMSE $rmse)"
lint=0
lintian --fail-on error "$DEB" >"$WORK/lintian.log" 2>&1 || lint=$?
grep -v "running with root privileges" "$WORK/lintian.log" || echo "lintian: no errors, no warnings"
[ "$lint" = 0 ] || e2e_fail "lintian reports an error"

# --- installed with apt, as a user would; nothing else of the machine is touched, so
# the Recommends (ffmpeg) are left out and whatever apt had to add is purged at the end.
snapshot() {
  find /usr /etc -xdev ! -path /usr/share/applications/mimeinfo.cache \
    ! -path /usr/share/icons/hicolor/icon-theme.cache 2>/dev/null | sort
}
snapshot >"$WORK/files-before"
dpkg-query -W -f='${Package}\n' | sort >"$WORK/packages-before"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$DEB" \
  >"$WORK/apt.log" 2>&1 || { cat "$WORK/apt.log"; e2e_fail "apt-get install failed"; }
INSTALLED=1
NEW_PACKAGES=$(dpkg-query -W -f='${Package}\n' | sort | comm -13 "$WORK/packages-before" - |
  grep -vx quillon || true)
[ -x /usr/bin/quillon ] && [ -x /usr/libexec/xscreensaver/quillon ] || e2e_fail "not installed"
dpkg -L quillon >"$WORK/package-files"
# man finds both pages where it looks for each language.
[ "$(man -w 6 quillon)" = /usr/share/man/man6/quillon.6.gz ] ||
  e2e_fail "man 6 quillon finds $(man -w 6 quillon)"
[ "$(man -L ja -w 6 quillon)" = /usr/share/man/ja/man6/quillon.6.gz ] ||
  e2e_fail "man -L ja 6 quillon finds $(man -L ja -w 6 quillon)"

# --- a fresh user with an empty home, started from the menu entry's Exec line
mkdir -m 0700 "$USER_HOME" "$USER_RUNTIME"
useradd --no-create-home --home-dir "$USER_HOME" --shell /bin/bash "$USER_NAME"
chown "$USER_NAME:" "$USER_HOME" "$USER_RUNTIME"
# as_user COMMAND: runs a shell command as that user, in the home, with the little
# environment a desktop session gives.
as_user() {
  runuser -u "$USER_NAME" -- env -i HOME="$USER_HOME" USER="$USER_NAME" DISPLAY="$DISPLAY" \
    LANG=C.UTF-8 PATH=/usr/local/bin:/usr/bin:/bin XDG_RUNTIME_DIR="$USER_RUNTIME" \
    QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null sh -c "cd && echo \$\$ >$USER_RUNTIME/program.pid && exec $1"
}
# A --config without its file name is refused before anything is shown.
status=0
as_user "quillon --config" >"$WORK/config.log" 2>&1 || status=$?
[ "$status" = 2 ] && grep -q -- --config "$WORK/config.log" ||
  e2e_fail "quillon --config gave status $status: $(cat "$WORK/config.log")"
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/org.quillon.Quillon.desktop | sed 's/ *%[fFuUick]//g')
as_user "$exec_line" >"$WORK/program.log" 2>&1 &
E2E_APP_PID=$!
main=$(e2e_wait_window "Quillon for DirectX" 15) || e2e_fail "the installed program shows no main window"
sleep 0.5
e2e_shot package-main >/dev/null
[ -z "$(ls -A "$USER_HOME")" ] ||
  e2e_fail "the program wrote into the home at start: $(ls -A "$USER_HOME")"
# The desktop matches the window to its menu entry (and so its icon) by the class.
wm_class=$(sed -n 's/^StartupWMClass=//p' /usr/share/applications/org.quillon.Quillon.desktop)
xprop -id "$main" WM_CLASS | grep -q "\"$wm_class\"" ||
  e2e_fail "the window's $(xprop -id "$main" WM_CLASS) does not match StartupWMClass=$wm_class"
# The settings button (client 75,192, 58 x 25); a first start of a fresh user may still
# be busy with its font caches, so the click is repeated as a person would.
dialog=""
for _ in 1 2 3 4 5; do
  xdotool windowactivate --sync "$main" 2>/dev/null || true
  xdotool mousemove --window "$main" 104 204 click 1
  dialog=$(e2e_wait_window "設定" 3) && break
done
[ -n "$dialog" ] || { e2e_shot package-no-settings >/dev/null; e2e_fail "settings dialog not shown"; }
sleep 0.5
dialog=$(e2e_wait_window "設定" 5) || e2e_fail "settings dialog gone"
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
sleep 0.3
e2e_shot package-settings >/dev/null
xdotool key Return # OK is the default button
INI="$USER_HOME/.config/quillon/Quillon.ini"
for _ in $(seq 50); do [ -s "$INI" ] && break; sleep 0.1; done
[ -s "$INI" ] || e2e_fail "OK wrote no ~/.config/quillon/Quillon.ini: $(find "$USER_HOME")"
expected=$(printf '[File]\r\nUserFile=\r\n[Font]\r\nName=\x82\x6c\x82\x72 \x96\xbe\x92\xa9\r\nCharset=128\r\n[Option]\r\nAutoClose=0\r\nSilent=0\r\nDiceMode=1\r\nOriginal=3\r\nWait=120\r\nStartWait=1500\r\nMagnify=70\r\n' | xxd -p)
[ "$(xxd -p "$INI")" = "$expected" ] || e2e_fail "Quillon.ini holds $(xxd "$INI")"
[ "$(stat -c '%U %a' "$USER_HOME/.config/quillon")" = "$USER_NAME 700" ] ||
  e2e_fail "the settings folder is $(stat -c '%U %a' "$USER_HOME/.config/quillon")"
[ ! -e /usr/bin/Quillon.ini ] || e2e_fail "a Quillon.ini was written beside the installed program"
stop_program
echo "fresh user: $(stat -c '%U %a' "$USER_HOME/.config/quillon") $INI"

# --- removed: none of its files stay behind, and the machine is as it was
dpkg -r quillon >"$WORK/remove.log" 2>&1 || { cat "$WORK/remove.log"; e2e_fail "dpkg -r failed"; }
INSTALLED=""
while read -r f; do
  [ -d "$f" ] && [ ! -L "$f" ] && continue # shared folders; its own are in the comparison below
  [ ! -e "$f" ] && [ ! -L "$f" ] || e2e_fail "$f is left behind"
done <"$WORK/package-files"
# shellcheck disable=SC2086
[ -z "$NEW_PACKAGES" ] || apt-get purge -y -qq $NEW_PACKAGES >/dev/null 2>&1
NEW_PACKAGES=""
snapshot >"$WORK/files-after"
diff "$WORK/files-before" "$WORK/files-after" >"$WORK/files.diff" ||
  e2e_fail "the file system differs after removal: $(head -20 "$WORK/files.diff")"
echo "package: ok"
