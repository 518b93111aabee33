# Sourced by the test and run commands and by the Wine wrapper: the one place
# that sets up how the project's programs run under Wine.
VELK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

source "$VELK_ROOT/tools/velk-arch.sh" || return

# The two widths never share a build folder (nor so a CMake cache or a Wine
# prefix).
if [ "$VELK_ARCH" = x64 ]; then
  export VELK_BUILD_DIR="${VELK_BUILD_DIR:-$VELK_ROOT/build-x64}"
  export WINEARCH=win64
  VELK_TOOLCHAIN="$VELK_ROOT/cmake/toolchain-x86_64-mingw.cmake"
else
  export VELK_BUILD_DIR="${VELK_BUILD_DIR:-$VELK_ROOT/build}"
  export WINEARCH=win32
  VELK_TOOLCHAIN="$VELK_ROOT/cmake/toolchain-i686-mingw.cmake"
fi
export WINEPREFIX="$VELK_BUILD_DIR/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export LC_ALL=ru_RU.UTF-8
export LANG=ru_RU.UTF-8

velk_find_wine() {
  if [ "$VELK_ARCH" = x64 ]; then
    echo /usr/lib/wine/wine64
  elif command -v wine >/dev/null 2>&1; then
    echo wine
  else
    echo /usr/lib/wine/wine
  fi
}

# Creates the project-local prefix on first use, and sets it up the way the
# programs are run here: no crash dialog, and one virtual desktop in which
# Wine draws the window frames itself (as on Windows; Xvfb has no window
# manager).
velk_prepare_prefix() {
  local wine
  wine="$(velk_find_wine)"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    echo "wine: creating prefix $WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1 || true
  fi
  if [ ! -f "$WINEPREFIX/.velk-setup-2" ]; then
    # The window frames' buttons are drawn with Marlett, which this Wine
    # does not find on its own.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -f /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
    "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$WINEPREFIX/.velk-setup-2"
  fi
}

# Runs a trivial program so that Wine's services and desktop process start
# with their output going nowhere.
velk_warm_wine() {
  "$(velk_find_wine)" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# Starts a private X server when there is no display; sets VELK_XVFB_PID.
velk_start_xvfb() {
  VELK_XVFB_PID=""
  if [ -n "${DISPLAY:-}" ] && [ -z "${VELK_FORCE_XVFB:-}" ]; then return 0; fi
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  VELK_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

velk_stop_xvfb() {
  if [ -n "${VELK_XVFB_PID:-}" ]; then kill "$VELK_XVFB_PID" 2>/dev/null || true; wait "$VELK_XVFB_PID" 2>/dev/null || true; fi
}
