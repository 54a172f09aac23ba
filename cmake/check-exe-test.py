#!/usr/bin/env python3
"""Shows that check-exe.py finds the faults it is there for: each case spoils
a copy of a built Dealwarden.exe (or of the release zip) the way a wrong
build would, and the check must name that fault; the unspoilt file passes.

    check-exe-test.py exe EXE --arch x86|x64 --version X.Y.Z
    check-exe-test.py release ZIP --version X.Y.Z --note FILE   (77: no such zip)
"""
import importlib.util
import io
import os
import re
import struct
import sys
import zipfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def load(name, path):
    spec = importlib.util.spec_from_file_location(name, os.path.join(ROOT, path))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


check = load("check_exe", "cmake/check-exe.py")
pack = check.pack


def nt_offset(data):
    return struct.unpack_from("<I", data, 0x3C)[0]


def put16(data, at, value):
    struct.pack_into("<H", data, at, value)


def other_machine(arch):
    def spoil(data):
        put16(data, nt_offset(data) + 4, check.MACHINES["x64" if arch == "x86" else "x86"])
    return spoil


def console(data):
    put16(data, nt_offset(data) + 24 + 68, 3)  # IMAGE_SUBSYSTEM_WINDOWS_CUI


def subsystem_windows_8(data):
    put16(data, nt_offset(data) + 24 + 48, 6)
    put16(data, nt_offset(data) + 24 + 50, 2)


def import_descriptors(data):
    """File offsets of each imported DLL's name."""
    pe = check.PE(bytes(data))
    at = pe.offset(pe.directory(1)[0])
    while True:
        name = struct.unpack_from("<I", data, at + 12)[0]
        if name == 0:
            return
        yield pe.offset(name)
        at += 20


def runtime_dll(data):
    # As a build without -static imports the compiler's runtime.
    for at in import_descriptors(data):
        if data[at : at + 13].upper() == b"KERNEL32.DLL\0":
            data[at : at + 13] = b"libgcc_s.dll\0"
            return
    raise AssertionError("no KERNEL32.dll import to spoil")


def windows_8_function(data):
    # CreateFile2 came with Windows 8.
    at = data.index(b"CreateFileW\0")
    data[at : at + 12] = b"CreateFile2\0"


def manifest_of_other_arch(arch):
    def spoil(data):
        # The length of the manifest stays: the indentation before the
        # attribute gives or takes the characters the other name needs.
        match = re.search(rb'(\s+)processorArchitecture="(amd64|x86)"', data)
        spaces, name = match.group(1), match.group(2)
        other = b"x86" if name == b"amd64" else b"amd64"
        indent = len(spaces) + len(name) - len(other)
        new = (spaces + b" " * indent)[:indent] + b'processorArchitecture="' + other + b'"'
        data[match.start() : match.end()] = new
    return spoil


def no_icon(data):
    pe = check.PE(bytes(data))
    root = pe.offset(pe.directory(2)[0])
    named, ids = struct.unpack_from("<HH", data, root + 12)
    for i in range(named, named + ids):
        at = root + 16 + 8 * i
        if struct.unpack_from("<I", data, at)[0] == check.RT_GROUP_ICON:
            struct.pack_into("<I", data, at, check.RT_GROUP_ICON + 1)  # 15: no such type in use
            return
    raise AssertionError("no icon group to spoil")


def exe_cases(arch, version):
    # name, how to spoil the file, the version expected, a text every fault line must hold
    return [
        ("as built", None, version, None),
        ("other machine", other_machine(arch), version, "not " + arch),
        ("console program", console, version, "subsystem 3"),
        ("subsystem of Windows 8", subsystem_windows_8, version, "Windows 7 (6.1) refuses"),
        ("not static", runtime_dll, version, "LIBGCC_S.DLL"),
        ("Windows 8 function", windows_8_function, version, "KERNEL32.DLL!CreateFile2"),
        ("manifest of the other architecture", manifest_of_other_arch(arch), version,
         "processorArchitecture"),
        ("no icon", no_icon, version, "no icon"),
        ("another version", None, "9.8.7", "9.8.7"),
    ]


def spoilt_zip(source, rename=None, drop=None, utf8=False, replace=None):
    """A copy of the release zip with one entry renamed, dropped or replaced,
    or every name stored with the UTF-8 flag."""
    out = io.BytesIO()
    with zipfile.ZipFile(source, metadata_encoding="cp932") as z, \
            zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as w:
        for info in z.infolist():
            name = info.filename
            if name == drop:
                continue
            data = replace[1] if replace and name == replace[0] else z.read(info)
            if rename and name == rename[0]:
                name = rename[1]
            # A name that is not ASCII gets the UTF-8 flag from zipfile itself.
            kind = zipfile.ZipInfo if utf8 else pack.Cp932Info
            w.writestr(kind(name, info.date_time), data, zipfile.ZIP_DEFLATED)
    out.seek(0)
    return out


def zip_cases(zip_path, version):
    top = f"Dealwarden-{version}/"
    with zipfile.ZipFile(zip_path, metadata_encoding="cp932") as z:
        x64 = z.read(top + "Dealwarden.exe")
        z_note = z.read(top + "はじめに.txt")
    with open(zip_path, "rb") as f:
        as_built = io.BytesIO(f.read())
    unix_note = z_note.replace(b"\r\n", b"\n")
    unstripped = bytearray(x64)
    struct.pack_into("<I", unstripped, nt_offset(unstripped) + 16, 1)  # NumberOfSymbols
    return [
        ("as packed", as_built, None),
        ("no x86 exe", spoilt_zip(zip_path, drop=top + "x86/Dealwarden.exe"), "the zip holds"),
        ("x86-64 exe in x86\\", spoilt_zip(zip_path, replace=(top + "x86/Dealwarden.exe", x64)),
         "not x86"),
        ("names in UTF-8", spoilt_zip(zip_path, utf8=True), "UTF-8 flag"),
        ("exe not stripped", spoilt_zip(zip_path, replace=(top + "Dealwarden.exe", bytes(unstripped))),
         "not stripped"),
        ("note with Unix line ends", spoilt_zip(zip_path, replace=(top + "はじめに.txt",
                                                                   unix_note)), "CR LF"),
        ("note renamed", spoilt_zip(zip_path, rename=(top + "はじめに.txt", top + "README.txt")),
         "the zip holds"),
    ]


def expect(name, faults, wanted, failures):
    if wanted is None:
        if faults:
            failures.append(f"{name}: faults where none were expected: {faults}")
    elif not faults:
        failures.append(f"{name}: not found")
    elif not any(wanted in f for f in faults):
        failures.append(f'{name}: no fault mentions "{wanted}": {faults}')
    print(f"{name}: {len(faults)} fault(s){': ' + faults[0] if faults else ''}")


def main():
    args = check.arguments(__doc__)
    failures = []
    if args.what == "exe":
        with open(args.file, "rb") as f:
            built = f.read()
        for name, spoil, version, wanted in exe_cases(args.arch, args.version):
            data = bytearray(built)
            if spoil:
                spoil(data)
            faults = []
            check.check_exe(bytes(data), args.arch, version, faults, "exe")
            expect(name, faults, wanted, failures)
    elif check.zip_missing(args.file):
        return check.NO_ZIP
    else:
        for name, data, wanted in zip_cases(args.file, args.version):
            faults = []
            check.check_release(data, args.version, args.note, faults)
            expect(name, faults, wanted, failures)
    for f in failures:
        print("FAILED", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
