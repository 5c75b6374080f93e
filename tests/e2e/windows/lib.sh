# The end-to-end tests of the Windows build, run under Wine on the shared pieces of
# ../lib.sh: a private X server with a window manager, screenshots, the same waits.
# Source it; every test calls win_start BUILD_FOLDER first (tools/build-windows's
# build-windows/ by default).
source "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"

WIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
WINESERVER=$(command -v wineserver || ls /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver 2>/dev/null | head -n 1)

win_cleanup() {
  # Every Windows process of the prefix ends with its server, before the X server goes.
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k 2>/dev/null || true
  e2e_cleanup
}

# win_start [BUILD_FOLDER] [WIDTHxHEIGHT]: X server, window manager, and a folder holding
# a copy of quillon.exe. The Wine prefix is a copy of the build's, made ready once by
# tools/windows-wine, so each test starts from the same clean one and never waits on
# another test's Wine server.
win_start() {
  WIN_BUILD=$(cd "${1:-$WIN_ROOT/build-windows}" && pwd)
  [ -f "$WIN_BUILD/quillon.exe" ] || e2e_fail "no $WIN_BUILD/quillon.exe: run tools/build-windows"
  e2e_start "$WIN_BUILD/quillon.exe" "${2:-1024x768}"
  trap win_cleanup EXIT
  mv "$E2E_DIR/quillon" "$E2E_DIR/quillon.exe"
  WINEPREFIX="$WIN_BUILD/wine" "$WIN_ROOT/tools/windows-wine" --setup-only
  # Linked, not copied (Wine's own libraries fill most of its 700 MB); the registry,
  # which Wine writes in place, is copied.
  cp -al "$WIN_BUILD/wine" "$E2E_DIR/wine"
  local reg
  for reg in "$WIN_BUILD"/wine/*.reg; do cp --remove-destination "$reg" "$E2E_DIR/wine/"; done
  export WINEPREFIX="$E2E_DIR/wine" WINEDEBUG=-all
  unset QT_QPA_PLATFORM ALSOFT_CONF
}

# win_path FILE: FILE as the program under Wine names it.
win_path() { echo "Z:${1//\//\\}"; }

# win_run [ARGS...]: starts quillon.exe in the background, from the test's folder.
win_run() {
  (cd "$E2E_DIR" && exec "$WIN_ROOT/tools/windows-wine" ./quillon.exe "$@") \
    >"$E2E_DIR/stdout.log" 2>&1 &
  E2E_APP_PID=$!
}
