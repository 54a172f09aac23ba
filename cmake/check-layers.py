#!/usr/bin/env python3
"""Checks that includes only run down the layers of the tree:

    ui -> run -> freecell -> record     (run, freecell, record: no Windows)
    ui -> Win32 adapters (*_win in freecell/, record/) -> win -> record

The Windows-free files include no header with a ".h" of the system's (no
<windows.h>), and nothing below ui/ reaches up into it. Usage: ROOT."""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
ALLOWED = {
    "record": {"record"},
    "freecell": {"record", "freecell"},
    "run": {"record", "freecell", "run"},
    "win": {"record", "win"},
    "adapters": {"record", "freecell", "win", "adapters"},
    "ui": {"record", "freecell", "run", "win", "adapters", "ui"},
}
WINDOWS_FREE = {"record", "freecell", "run"}
# The system headers of Windows (the portable writer's POSIX ones are fine).
WINDOWS_HEADERS = re.compile(
    r"^(win[a-z0-9_]*|windef|commctrl|commdlg|shellapi|shlobj|shlwapi|dwmapi|psapi|objbase"
    r"|ole2|tchar|wtypes|knownfolders|processthreadsapi|synchapi|libloaderapi|mmsystem"
    r"|timeapi|versionhelpers|uxtheme|tlhelp32|sdkddkver|intsafe|basetsd|minwindef)\.h$",
    re.I)


def layer(rel):
    top, _, name = rel.partition("/")
    if top not in ("record", "freecell", "run", "win", "ui") or "/" in name:
        return None
    if top in ("record", "freecell") and re.search(r"_win\.(h|cpp)$", name):
        return "adapters"
    return top


def main(root):
    faults = []
    for top in ("record", "freecell", "run", "win", "ui"):
        for name in sorted(os.listdir(os.path.join(root, top))):
            if not name.endswith((".h", ".cpp")):
                continue
            rel = f"{top}/{name}"
            mine = layer(rel)
            text = open(os.path.join(root, rel), encoding="utf-8").read()
            for kind, header in INCLUDE.findall(text):
                if kind == "<":
                    if mine in WINDOWS_FREE and WINDOWS_HEADERS.match(header):
                        faults.append(f"{rel}: <{header}> in a Windows-free file")
                    continue
                theirs = layer(header)
                if theirs is None:
                    if mine != "ui":
                        faults.append(f'{rel}: "{header}" is outside the layers')
                elif theirs not in ALLOWED[mine]:
                    faults.append(f'{rel} ({mine}) includes "{header}" ({theirs}): upward')
    for f in faults:
        print(f)
    print(f"check-layers: {len(faults)} include(s) against the layers")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
