#!/usr/bin/env bash
# Parlivo.exe as a user meets it, under Wine on a virtual display: started from another
# working folder, typed into on the X keyboard (xdotool), its rows and saved language
# checked by the window tests' ShippedProgram steps.
#   drive-program.sh PREFIX window_tests.exe sample Parlivo.exe
#       the program copied into a folder of its own beside a small lexicon; types "Sun"
#   drive-program.sh PREFIX window_tests.exe zip Parlivo-x.y.z.zip
#       the release zip unpacked into a fresh folder; types "house"
#   drive-program.sh PREFIX window_tests.exe installer Parlivo-x.y.z-setup.exe
#       installed silently, started from Program Files, then uninstalled silently
# With the release's lexicon, the row the window must show first is what the lookup
# tool beside the tests (tools/parlivo-lookup.exe) finds in the same files.
set -eu
prefix=$1 tests=$2 mode=$3 source=$4
mkdir -p "$prefix"
export WINEPREFIX=$(cd "$prefix" && pwd)
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
export wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
export wineserver=$(command -v wineserver || echo "$(dirname "$wine")/wineserver")
export tests mode source
export lookup=$(dirname "$tests")/../tools/parlivo-lookup.exe
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export work

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

case $mode in
  sample)
    cp "$source" "$work/Parlivo.exe"
    export program=$work/Parlivo.exe PARLIVO_PROGRAM_FOLDER=$(windows_path "$work")
    export PARLIVO_TYPED=Sun PARLIVO_FIRST_ROW=sun=Sonne
    ;;
  zip)
    unzip -q "$source" -d "$work"
    export program=$(find "$work" -name Parlivo.exe | head -n 1)
    export PARLIVO_TYPED=house PARLIVO_FILES=$(windows_path "$(dirname "$program")/Files")
    ;;
  installer)
    export program="$WINEPREFIX/drive_c/Program Files/Parlivo/Parlivo.exe"
    export PARLIVO_INSTALLED_FOLDER='C:\Program Files\Parlivo'
    export PARLIVO_TYPED=house PARLIVO_FILES=$(windows_path "$(dirname "$program")/Files")
    ;;
  *) echo "unknown mode $mode" >&2; exit 2 ;;
esac

exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -e
  step() { "$wine" "$tests" --gtest_filter="ShippedProgram.$1" --gtest_brief=1; }
  if [ "$mode" = installer ]; then
    "$wine" "$source" /S
    step InstalledWithAStartMenuShortcut
  fi
  [ "$mode" = sample ] && step WriteSampleLexicon
  if [ -n "${PARLIVO_FILES:-}" ]; then
    export PARLIVO_FIRST_ROW=$("$wine" "$lookup" --files "$PARLIVO_FILES" German "$PARLIVO_TYPED" |
                               head -n 1 | tr -d "\r")
    case $PARLIVO_FIRST_ROW in "$PARLIVO_TYPED="*) ;; *) echo "no row for $PARLIVO_TYPED" >&2; exit 1 ;; esac
  fi
  step ChooseGerman
  (cd "$work" && "$wine" "$program") &
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Parlivo\$" | head -n 1)
  sleep 1
  xdotool windowfocus --sync "$window" type --delay 50 "$PARLIVO_TYPED"
  sleep 1
  step ReadByAScreenReaderFromAnotherProcess
  step TypedRowsThenTheLanguageIsSavedOnClose
  if [ "$mode" = installer ]; then
    # The uninstaller runs a copy of itself from the temporary folder: wait for every
    # process of the prefix to end.
    "$wine" "C:\\Program Files\\Parlivo\\Uninstall.exe" /S
    "$wineserver" -w
    step UninstalledButTheChosenLanguageKept
  fi
  "$wineserver" -w'
