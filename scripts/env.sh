# Shared by the project's commands: build folder, Wine settings, and a virtual display with
# one persistent wineserver for the whole run. Source it; call startDisplay, then stopDisplay.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
export WINEDEBUG=-all
# Wine takes its ANSI code page from the locale: C.UTF-8 gives code page 1252, which the tests
# of text in that code page are written for.
export LC_ALL=C.UTF-8
# No .NET or HTML engine prompts when the prefix is first made.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-lumo}

configureAndBuild() {
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD" -j"$(nproc)" -- --no-print-directory | grep -vE '^\[|^Scanning|^Consolidate' || true
  test -f "$BUILD/bin/gen_lumo.dll"
}

startDisplay() {
  XVFB_PID=""
  if [ -z "${LUMO_KEEP_DISPLAY:-}" ]; then
    for n in $(seq 91 120); do
      if [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ]; then DISPLAY_NUM=$n; break; fi
    done
    Xvfb ":$DISPLAY_NUM" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$DISPLAY_NUM"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$DISPLAY_NUM" ] && break; sleep 0.1; done
  fi
  if [ ! -d "$WINEPREFIX" ]; then
    wineboot -i >/dev/null 2>&1 || true
  fi
  wineserver -p >/dev/null 2>&1 || true
  # With no window manager on the virtual display, hiding an active window waits 2 s for a
  # withdrawal that never comes; windows that Wine manages itself hide at once.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
}

stopDisplay() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
}
