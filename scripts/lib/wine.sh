# Sourced by the scripts: a private 32-bit Wine prefix under build/, set up
# once for deterministic tests, and a wine server started for it.

export WINEPREFIX="${WINEPREFIX_OVERRIDE:-$PWD/build/wine/prefix}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Creates the prefix when it is missing or was left half made.
wine_prepare_prefix() {
  [ -f "$WINEPREFIX/.tessaline-ready" ] && return 0
  echo "wine: creating the prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
  # Wine's own fonts, so that faces such as MS Sans Serif and Tahoma resolve to themselves.
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # Unmanaged windows close at once and take keys wherever the pointer is.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  # A crash ends the process instead of waiting on a dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.tessaline-ready"
}

# A persistent server with its output sent away, primed, so that the first
# Wine process's helpers do not hold the caller's output open.
wine_start_server() {
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_stop_server() {
  wineserver -k >/dev/null 2>&1 || true
}
