#!/bin/bash
# Runs the built Dealwarden under Wine against the practice FreeCell.
#   On a display: the program, for you to play with (its record is kept in
#   build/windows/run/Dealwarden.Ini between runs).
#   Without one: a short demonstration under Xvfb; prints the screenshots.
set -euo pipefail
build=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
root=$(dirname "$here")
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The 64-bit loader by its path (see cmake/wine-run.sh).
WINE=/usr/lib/wine/wine64

install_into() {  # dir
  mkdir -p "$1"
  cp "$build/ui/Dealwarden.exe" "$1/Dealwarden.exe"
  cp "$build/tests/practice_freecell/practice_freecell.exe" "$1/FREECELL.EXE"
}

if [[ -n "${DISPLAY:-}" ]]; then
  export WINEPREFIX="$build/run-prefix"
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Preparing a Wine prefix in $WINEPREFIX (once)..."
    "$WINE" wineboot -i </dev/null >/dev/null 2>&1
    "$root/cmake/wine-prefix-setup.sh" "$WINE"
  fi
  install_into "$build/run"
  cd "$build/run"
  exec "$WINE" Dealwarden.exe
fi

echo "No display: running a short demonstration under Xvfb."
state="$build/demo-wine"
demo="$build/demo"
rm -rf "$demo" "$build/tests/demo/screenshots"
install_into "$demo"
# The practice FreeCell answers its no-more-moves dialog by itself here.
printf -- '--stuck-auto-ms 1500' >"$demo/FREECELL.args"
trap '"$root/cmake/wine-run.sh" "$state" --stop' EXIT
"$root/cmake/wine-run.sh" "$state" --start
"$root/cmake/wine-run.sh" "$state" "$build/tests/demo/dealwarden_demo.exe" "Z:${demo//\//\\}" </dev/null |
  sed -e 's/\r$//' -e 's|Z:\\|/|' -e 's|\\|/|g'
