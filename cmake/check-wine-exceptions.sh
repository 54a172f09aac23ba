#!/bin/bash
# Runs a Windows test program under Wine with the exception channel on and
# fails if the Dealwarden process it names raised a processor exception:
#
#   check-wine-exceptions.sh STATE_DIR program.exe [args...]
#
# The program prints "dealwarden pid XXXX" (hex, as Wine writes it). Wine
# swallows a fault inside a window procedure ("ignoring exception") and the
# program goes on with status 0; on Windows the same fault ends it with an
# error report. C++ throws are exceptions too (code 20474343): not faults.
set -uo pipefail
here=$(dirname "$(realpath "$0")")
state=$1
shift
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

DW_WINEDEBUG=warn+seh,+pid "$here/wine-run.sh" "$state" "$@" >"$out" 2>"$err"
status=$?
cat "$out"
if ((status != 0)); then
  echo "check-wine-exceptions: the program failed (status $status)" >&2
  exit 1
fi
pid=$(sed -n 's/^dealwarden pid \([0-9a-f]*\).*/\1/p' "$out" | head -n1)
if [[ -z "$pid" ]]; then
  echo "check-wine-exceptions: no Dealwarden process named" >&2
  exit 1
fi
# With +pid every line of the process starts with its id: none at all means
# its debug output was not seen, and then nothing could be checked.
if ! grep -q "^$pid:" "$err"; then
  echo "check-wine-exceptions: no debug output of process $pid was captured" >&2
  exit 1
fi
faults=$(grep "^$pid:[0-9a-f]*:warn:seh:.*exception (code=" "$err" | grep -v "code=20474343")
if [[ -n "$faults" ]]; then
  echo "check-wine-exceptions: Dealwarden (process $pid) raised $(wc -l <<<"$faults") processor exception(s):" >&2
  head -n 5 <<<"$faults" >&2
  exit 1
fi
echo "check-wine-exceptions: no processor exception in Dealwarden (process $pid)"
