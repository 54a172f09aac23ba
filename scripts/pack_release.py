#!/usr/bin/env python3
"""Packs the release zip: pack_release.py ZIP DIR.

Names are stored in Shift-JIS (CP932) without the UTF-8 flag: Windows 7's
Explorer ignores the flag and reads names in the system's code page, which on
a Japanese system is CP932, so はじめに.txt arrives with its name intact. Texts get Windows' line ends.
"""
import os
import sys
import zipfile


class Cp932Info(zipfile.ZipInfo):
    def _encodeFilenameFlags(self):  # noqa: N802 (zipfile's own name)
        return self.filename.encode("cp932"), self.flag_bits & ~0x800


def windows_lines(text):
    """CR LF line ends: Windows 7's Notepad shows a text without CRs as one line."""
    return text.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def main():
    zip_path, folder = sys.argv[1], sys.argv[2]
    base = os.path.dirname(os.path.abspath(folder))
    with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as z:
        for root, _, files in os.walk(folder):
            for name in sorted(files):
                path = os.path.join(root, name)
                arc = os.path.relpath(path, base).replace(os.sep, "/")
                info = Cp932Info(arc, date_time=(2026, 1, 1, 0, 0, 0))
                info.compress_type = zipfile.ZIP_DEFLATED
                info.external_attr = 0o644 << 16
                with open(path, "rb") as f:
                    data = f.read()
                if name.endswith(".txt"):
                    data = windows_lines(data)
                z.writestr(info, data)


if __name__ == "__main__":
    main()
