# Sourced by the scripts: which Windows builds this host can run, and for
# each one a private Wine prefix under build/, set up once for deterministic
# tests, with a wine server started for it.
#   windows_builds_choose SCRIPT [one]   sets WINDOWS_BUILDS and says which and why
#   wine_use win32|win64                 points wine, its prefix and its server at one build

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

wine64_loader=/usr/lib/wine/wine64

# Wine's 32-bit loader is an i386 program: where the kernel runs no 32-bit
# code (IA-32 emulation off) it fails with "Exec format error", and so does
# the i386 dynamic loader, which is the cheaper one to ask.
host_runs_32bit_code() {
  /lib/ld-linux.so.2 --help >/dev/null 2>&1
}

# Sets WINDOWS_BUILDS to the Windows builds this host runs, or to those that
# TESSALINE_WINDOWS_BUILDS names (win32, win64 or both), and prints one line
# that says which and why. With "one", only the first of them: win32 where it
# runs, since that is the build a disc ships by default.
windows_builds_choose() {
  local script=$1 reason build
  if [ -n "${TESSALINE_WINDOWS_BUILDS:-}" ]; then
    WINDOWS_BUILDS=${TESSALINE_WINDOWS_BUILDS//,/ }
    reason="TESSALINE_WINDOWS_BUILDS asks for it"
    for build in $WINDOWS_BUILDS; do
      case "$build" in
        win64) ;;
        win32)
          if ! host_runs_32bit_code; then
            echo "$script: TESSALINE_WINDOWS_BUILDS names win32, but this host runs no 32-bit code" >&2
            return 1
          fi ;;
        *) echo "$script: TESSALINE_WINDOWS_BUILDS: unknown build '$build' (win32, win64)" >&2; return 1 ;;
      esac
    done
  elif host_runs_32bit_code; then
    WINDOWS_BUILDS="win32 win64"
    reason="this host runs 32-bit and 64-bit code"
  else
    WINDOWS_BUILDS="win64"
    reason="this host runs no 32-bit code, so Wine's 32-bit loader cannot start"
  fi
  if [ "${2:-}" = one ]; then
    WINDOWS_BUILDS=${WINDOWS_BUILDS%% *}
    echo "$script: running the Windows build $WINDOWS_BUILDS under Wine ($reason)"
  else
    echo "$script: running the Windows builds $WINDOWS_BUILDS under Wine ($reason)"
  fi
}

# Points wine, wineserver and the prefix at one build: win32 in a 32-bit
# prefix with Debian's wine command, win64 in a 64-bit prefix with the 64-bit
# loader named explicitly (Debian's wine command takes the 32-bit loader
# whenever its file exists, even where it cannot run).
wine_use() {
  WINE_BUILD=$1
  export WINEPREFIX="${WINE_PREFIXES:-$PWD/build/wine}/$1"
  case "$1" in
    win32) export WINEARCH=win32; unset WINELOADER ;;
    win64) export WINEARCH=win64 WINELOADER=$wine64_loader ;;
    *) echo "wine_use: unknown build '$1'" >&2; return 1 ;;
  esac
}

wine() {
  if [ "${WINE_BUILD:-}" = win64 ]; then
    "$wine64_loader" "$@"
  else
    command wine "$@"
  fi
}

# Creates the prefix when it is missing or was left half made.
wine_prepare_prefix() {
  [ -f "$WINEPREFIX/.tessaline-ready" ] && return 0
  echo "wine: creating the $WINEARCH prefix $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wine wineboot -i </dev/null >/dev/null 2>&1
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
