#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual X display:
#   run-under-wine.sh PREFIX-DIR PROGRAM.exe [ARGS...]
# The prefix is created on first use, with Wine's crash debugger and its crash dialog
# switched off so that a crashing test ends instead of waiting for someone to answer. The display lives as long as
# the program and the Wine server it started.
set -eu
prefix=$1
shift
mkdir -p "$prefix"
export WINEPREFIX=$(cd "$prefix" && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=${WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
wineserver=$(command -v wineserver || echo "$(dirname "$wine")/wineserver")
export wine wineserver
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  if [ ! -f "$WINEPREFIX/.parlivo-prefix-2" ]; then
    "$wine" reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" \
      /v Auto /t REG_SZ /d 0 /f >/dev/null 2>&1 &&
    "$wine" reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug" \
      /v Debugger /t REG_SZ /d "" /f >/dev/null 2>&1 &&
    "$wine" reg add "HKCU\\Software\\Wine\\WineDbg" \
      /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 &&
    touch "$WINEPREFIX/.parlivo-prefix-2"
  fi
  "$wine" "$@"
  rc=$?
  "$wineserver" -w
  exit $rc' run-under-wine "$@"
