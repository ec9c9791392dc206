# Wine helpers shared by scripts/wine-run, scripts/test and scripts/demo.
# Expects WINEPREFIX to be set.

# Creates the prefix once (20-40 s), under a lock so parallel callers wait.
wine_prefix_ready() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.tarvo-ready" ]; then
      WINEDEBUG=-all wineboot -i >/dev/null 2>&1 || true
      # Without a window manager Wine delays hiding windows unless unmanaged.
      WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
      WINEDEBUG=-all wineserver -w
      touch "$WINEPREFIX/.tarvo-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Gives Wine a display: the caller's, or a private Xvfb (kept for later runs).
wine_display_ready() {
  if [ -n "${DISPLAY:-}" ]; then return; fi
  local display=${TARVO_XVFB_DISPLAY:-:77}
  if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
    (Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &)
    for _ in $(seq 50); do
      xdpyinfo -display "$display" >/dev/null 2>&1 && break
      sleep 0.1
    done
  fi
  export DISPLAY=$display
}

# Keeps one wineserver alive for the whole run: process starts get cheaper and
# HKLM\Hardware (the phone's port entry) lives while it runs.
wine_server_keep() {
  wineserver -p >/dev/null 2>&1 || true
  # The first program of a session starts Wine's background services, which
  # keep whatever output it had open: start them here, detached, so that they
  # never hold a test runner's pipes.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_server_stop() {
  wineserver -k >/dev/null 2>&1 || true
}
