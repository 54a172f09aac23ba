#!/bin/bash
# Runs a Windows executable under Wine for ctest.
#
#   wine-run.sh STATE_DIR program.exe [args...]   run it in the session
#   wine-run.sh STATE_DIR --start | --stop         the ctest fixture's ends
#
# A session is one Xvfb and one persistent wineserver with a prefix inside the
# build tree, shared by every test of a run: starting Wine cold costs seconds,
# a further program in a warm session tens of milliseconds.
set -uo pipefail

state=$(realpath -m "$1")
shift
export WINEPREFIX="$state/prefix"
# Quiet unless a caller asks for a debug channel (see check-wine-exceptions.sh).
export WINEDEBUG=${DW_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# The 64-bit loader by its path, never Debian's "wine" wrapper: with 32-bit
# Wine installed the wrapper picks the 32-bit loader, which fails where the
# machine cannot run 32-bit programs. The 64-bit loader runs x86 programs too
# (through WOW64) where 32-bit Wine is installed and can run.
WINE=${DW_WINE:-/usr/lib/wine/wine64}
WINESERVER=${DW_WINESERVER:-/usr/lib/wine/wineserver}
here=$(dirname "$(realpath "$0")")

xvfb_alive() {
  [[ -s "$state/xvfb.pid" ]] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null
}

start_xvfb() {
  rm -f "$state/display"
  # -displayfd picks a free display: others may be in use on this machine.
  setsid Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp \
    </dev/null >"$state/xvfb.log" 2>&1 9>"$state/display" 200>&- &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 100); do
    [[ -s "$state/display" ]] && break
    sleep 0.1
  done
  [[ -s "$state/display" ]] || { echo "wine-run: Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; exit 1; }
}

start() {
  mkdir -p "$state"
  if ! xvfb_alive; then start_xvfb; fi
  export DISPLAY=":$(tr -d '\n' <"$state/display")"
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    "$WINE" wineboot -i </dev/null >/dev/null 2>&1 200>&-
    "$WINESERVER" -w
    "$here/wine-prefix-setup.sh" "$WINE" 200>&-
    "$WINESERVER" -w
  fi
  # Background services of the first program inherit its output; start them
  # here with the output thrown away so that ctest's pipes close.
  # (The lock's descriptor is closed for them: they outlive this script.)
  "$WINESERVER" -p </dev/null >/dev/null 2>&1 200>&-
  "$WINE" wineboot </dev/null >/dev/null 2>&1 200>&-
}

stop() {
  if [[ -d "$WINEPREFIX" ]]; then "$WINESERVER" -k 2>/dev/null; fi
  if xvfb_alive; then kill "$(cat "$state/xvfb.pid")"; fi
  rm -f "$state/xvfb.pid" "$state/display"
  return 0
}

case "${1:-}" in
--start) exec 200>>"$state.lock"; flock 200; start; exit 0 ;;
--stop) exec 200>>"$state.lock"; flock 200; stop; exit 0 ;;
esac

mkdir -p "$(dirname "$state")"
(
  flock 200
  if ! xvfb_alive || [[ ! -f "$WINEPREFIX/system.reg" ]]; then start; fi
) 200>>"$state.lock" || exit 1
export DISPLAY=":$(tr -d '\n' <"$state/display")"
"$WINE" "$@"
