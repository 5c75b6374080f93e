#!/usr/bin/env bash
# The installer under Wine, run silently as an administrator's script would: the program
# lands in Program Files\Quillon, the screen saver in the system folder, a Start-menu
# entry and an uninstaller registered with the system; the installed program starts and
# ends with Esc; the silent uninstaller removes all of it. The portable zip, unpacked into
# any folder, runs from there.
# Usage: installer.sh [BUILD-FOLDER]
source "$(dirname "$0")/lib.sh"
win_start "${1:-}"
export LANG=ja_JP.UTF-8
setup=$WIN_BUILD/quillon-setup.exe
[ -f "$setup" ] || e2e_fail "no $setup: run tools/build-windows"
C=$WINEPREFIX/drive_c
FILES=("$C/Program Files/Quillon/quillon.exe" "$C/Program Files/Quillon/LICENSE.txt"
  "$C/Program Files/Quillon/uninstall.exe" "$C/windows/system32/quillon.scr"
  "$C/ProgramData/Microsoft/Windows/Start Menu/Programs/Quillon.lnk")
KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon'
registered() { "$WIN_ROOT/tools/windows-wine" reg query "$KEY" /v UninstallString 2>/dev/null | grep -q uninstall.exe; }
all_there() { local f; for f in "${FILES[@]}"; do [ -f "$f" ] || return 1; done; }
none_there() { local f; for f in "${FILES[@]}"; do [ ! -e "$f" ] || return 1; done; [ ! -e "$C/Program Files/Quillon" ]; }

"$WIN_ROOT/tools/windows-wine" "$setup" /S || e2e_fail "the silent install ended with status $?"
wait_until 30 "not every file was installed: $(ls -R "$C/Program Files/Quillon" 2>&1)" all_there
registered || e2e_fail "no uninstaller registered under $KEY"
cmp -s "$C/Program Files/Quillon/quillon.exe" "$C/windows/system32/quillon.scr" ||
  e2e_fail "the installed screen saver is not the installed program"

(exec "$WIN_ROOT/tools/windows-wine" 'C:\Program Files\Quillon\quillon.exe') >"$E2E_DIR/stdout.log" 2>&1 &
E2E_APP_PID=$!
main=$(e2e_wait_window "Quillon for DirectX" 60) || e2e_fail "the installed program shows no main window"
sleep 1
e2e_shot win-installed-main >/dev/null
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key Escape
e2e_wait_exit 10 || e2e_fail "Esc did not end the installed program"
E2E_APP_PID=

# The uninstaller copies itself away and returns at once; what it removes goes after.
"$WIN_ROOT/tools/windows-wine" 'C:\Program Files\Quillon\uninstall.exe' /S ||
  e2e_fail "the silent uninstall ended with status $?"
wait_until 30 "the uninstaller left: $(ls -R "$C/Program Files/Quillon" 2>&1)" none_there
"$WINESERVER" -w
! registered || e2e_fail "the uninstaller left its key $KEY"
portable=$E2E_DIR/portable
mkdir -p "$portable"
(cd "$portable" && unzip -q "$WIN_BUILD"/quillon-*-windows-x64.zip)
[ -f "$portable/quillon.scr" ] && [ -f "$portable/LICENSE.txt" ] || e2e_fail "the zip lacks the screen saver or the licence"
version=$(cd "$portable" && "$WIN_ROOT/tools/windows-wine" ./quillon.exe --version) ||
  e2e_fail "the unpacked program ended with status $?"
[[ "$version" == "quillon "* ]] || e2e_fail "the unpacked program says '$version'"
echo "installer.sh: passed"
