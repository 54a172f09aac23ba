#!/bin/bash
# Settings a test prefix needs (WINEPREFIX set by the caller; $1 = wine):
# - no window manager on Xvfb: unmanaged windows, or every hide stalls ~2 s;
# - no crash dialog: a crashing test ends at once with a non-zero code;
# - Japanese fonts for the faces the programs ask for, or glyphs are boxes.
set -euo pipefail
wine=$1
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
# regedit reads UTF-16LE; Japanese face names survive only that way.
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
  # Both views of HKLM\Software: 32-bit programs (x86 tests under WOW64) read
  # Wow6432Node.
  for software in 'Software' 'Software\Wow6432Node'; do
    nt="HKEY_LOCAL_MACHINE\\$software\\Microsoft\\Windows NT\\CurrentVersion"
    printf '[%s\\AeDebug]\r\n"Debugger"=""\r\n"Auto"="1"\r\n\r\n' "$nt"
    printf '[%s\\FontSubstitutes]\r\n' "$nt"
    for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "MS Sans Serif" "MS UI Gothic" \
      "ＭＳ Ｐゴシック" "MS PGothic" "ＭＳ ゴシック" "MS Gothic" "Meiryo UI" "Segoe UI"; do
      printf '"%s"="IPAPGothic"\r\n' "$face"
    done
    printf '\r\n'
  done
} | { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE; } >"$reg"
"$wine" regedit /S "$(winepath="$reg"; echo "Z:${winepath//\//\\}")" </dev/null >/dev/null 2>&1
