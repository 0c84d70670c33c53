#!/usr/bin/env bash
# The shipped program as a user meets it: Parlivo.exe copied into a folder of its own
# with a small lexicon, started from another working folder, typed into on the X
# keyboard, and its rows and saved language checked.
#   shipped-program.sh PREFIX-DIR window_tests.exe Parlivo.exe
set -eu
prefix=$1
tests=$2
program=$3
mkdir -p "$prefix"
export WINEPREFIX=$(cd "$prefix" && pwd)
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo "$(dirname "$wine")/wineserver")
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$program" "$folder/Parlivo.exe"
export wine wineserver tests folder
export PARLIVO_SHIPPED_FOLDER="Z:${folder//\//\\}"
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$wine" "$tests" --gtest_filter=ShippedProgram.Prepare || exit 1
  (cd /tmp && "$wine" "$folder/Parlivo.exe") &
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Parlivo\$" | head -n 1)
  sleep 1
  xdotool windowfocus --sync "$window" type --delay 50 Sun
  "$wine" "$tests" --gtest_filter=ShippedProgram.TypedRows*
  rc=$?
  "$wineserver" -w
  exit $rc'
