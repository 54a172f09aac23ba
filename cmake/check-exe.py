#!/usr/bin/env python3
"""Checks what a player gets without running it, so that it is checked also
where it cannot run (the x86 exe on a machine without 32-bit Wine).

    check-exe.py exe FILE --arch x86|x64 --version X.Y.Z
        a Dealwarden.exe: the PE format and machine of its architecture, a
        GUI program that Windows 7 accepts, importing only functions of
        Windows' own DLLs that Windows 7 has (cmake/windows7-imports.txt),
        its manifest naming its own architecture, its version resource and
        its icon.
    check-exe.py release ZIP --version X.Y.Z --note FILE
        the release zip: the x86-64 exe at its top, the x86 one in x86\\,
        both stripped and passing the checks above, and the players' note
        with CR LF line ends, every name in CP932 as Windows 7's Explorer
        reads it.

Prints every fault and exits 1 when there is one (77: no such zip, for
ctest to report the check skipped).
"""
import argparse
import os
import struct
import sys
import xml.etree.ElementTree as ET
import zipfile

MACHINES = {"x86": 0x014C, "x64": 0x8664}
MAGICS = {"x86": 0x10B, "x64": 0x20B}  # PE32, PE32+
MANIFEST_ARCH = {"x86": "x86", "x64": "amd64"}
BITS = {"x86": "32-bit", "x64": "64-bit"}
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
WINDOWS_7 = (6, 1)  # a higher subsystem or OS version and Windows 7 refuses to start it
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
ASM = "{urn:schemas-microsoft-com:asm.v1}"
HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "scripts"))
import pack_release as pack  # noqa: E402 (found through the path above)


class PE:
    """The parts of a PE file the checks read; raises ValueError on a file
    that is not one."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        nt = self.u32(0x3C)
        if data[nt : nt + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        (self.machine, sections, _, _, self.symbols, optional_size, _) = (
            struct.unpack_from("<HHIIIHH", data, nt + 4))
        opt = nt + 24
        self.magic = self.u16(opt)
        if self.magic not in MAGICS.values():
            raise ValueError(f"unknown optional header magic {self.magic:#x}")
        self.os_version = (self.u16(opt + 40), self.u16(opt + 42))
        self.subsystem_version = (self.u16(opt + 48), self.u16(opt + 50))
        self.subsystem = self.u16(opt + 68)
        self.pointer = 4 if self.magic == 0x10B else 8
        dirs = opt + (96 if self.magic == 0x10B else 112)
        count = self.u32(dirs - 4)
        self.dirs = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(count)]
        at = opt + optional_size
        self.sections = [struct.unpack_from("<8sIIII", data, at + 40 * i) for i in range(sections)]

    def u16(self, at):
        return struct.unpack_from("<H", self.data, at)[0]

    def u32(self, at):
        return struct.unpack_from("<I", self.data, at)[0]

    def offset(self, rva):
        for _, vsize, va, raw_size, raw in self.sections:
            if va <= rva < va + max(vsize, raw_size):
                return rva - va + raw
        raise ValueError(f"RVA {rva:#x} is in no section")

    def cstring(self, rva):
        at = self.offset(rva)
        return self.data[at : self.data.index(b"\0", at)].decode("ascii")

    def directory(self, index):
        return self.dirs[index] if index < len(self.dirs) else (0, 0)

    def imports(self):
        """{DLL name upper-cased: [function name, or "#ordinal"]}"""
        result = {}
        rva, _ = self.directory(1)
        if not rva:
            return result
        at = self.offset(rva)
        while True:
            lookup, _, _, name, thunks = struct.unpack_from("<IIIII", self.data, at)
            if name == 0:
                return result
            names = result.setdefault(self.cstring(name).upper(), [])
            entry = self.offset(lookup or thunks)
            fmt, flag = ("<I", 1 << 31) if self.pointer == 4 else ("<Q", 1 << 63)
            while True:
                value = struct.unpack_from(fmt, self.data, entry)[0]
                if value == 0:
                    break
                names.append(f"#{value & 0xFFFF}" if value & flag else self.cstring(value + 2))
                entry += self.pointer
            at += 20

    def resources(self):
        """{(type, name): data} of the first language of each resource;
        type and name are ids, or strings for named ones."""
        rva, _ = self.directory(2)
        if not rva:
            return {}
        base = self.offset(rva)

        def entries(at):
            named, ids = struct.unpack_from("<HH", self.data, base + at + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, base + at + 16 + 8 * i)
                if key & 1 << 31:
                    length = self.u16(base + (key & 0x7FFFFFFF))
                    start = base + (key & 0x7FFFFFFF) + 2
                    key = self.data[start : start + 2 * length].decode("utf-16-le")
                yield key, target

        found = {}
        for kind, names in entries(0):
            for name, langs in entries(names & 0x7FFFFFFF):
                _, leaf = next(entries(langs & 0x7FFFFFFF))
                data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                found[(kind, name)] = self.data[self.offset(data_rva) : self.offset(data_rva) + size]
        return found


def windows7_imports(arch):
    """{DLL: set of function names} that the list says Windows 7 has for arch."""
    allowed, dll = {}, None
    with open(os.path.join(HERE, "windows7-imports.txt"), encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            if line.startswith("["):
                dll = allowed.setdefault(line.strip("[]").upper(), set())
                continue
            names = line.split()
            if names[0] in ("x86:", "x64:"):
                if names.pop(0) != arch + ":":
                    continue
            dll.update(names)
    return allowed


def version_strings(block):
    """The fixed file version and the StringFileInfo texts of a version resource."""
    fixed, texts = None, {}

    def walk(at, end, path):
        nonlocal fixed
        while at + 6 <= end:
            length, value_length, kind = struct.unpack_from("<HHH", block, at)
            if length == 0:
                return
            key_end = block.index(b"\0\0", at + 6)
            while (key_end - at - 6) % 2:
                key_end = block.index(b"\0\0", key_end + 1)
            key = block[at + 6 : key_end].decode("utf-16-le")
            value_at = (key_end + 2 + 3) & ~3
            value_size = value_length * 2 if kind == 1 else value_length
            value = block[value_at : value_at + value_size]
            if key == "VS_VERSION_INFO":
                fixed = struct.unpack_from("<13I", value) if len(value) >= 52 else None
            elif len(path) == 3 and path[1] == "StringFileInfo":
                texts[key] = value.decode("utf-16-le").rstrip("\0")
            walk((value_at + value_size + 3) & ~3, at + length, path + [key])
            at = (at + length + 3) & ~3

    walk(0, len(block), [])
    return fixed, texts


def check_exe(data, arch, version, faults, label):
    def fault(text):
        faults.append(f"{label}: {text}")

    try:
        pe = PE(data)
    except (ValueError, struct.error) as e:
        fault(f"not a PE file ({e})")
        return None
    if pe.machine != MACHINES[arch] or pe.magic != MAGICS[arch]:
        fault(f"machine {pe.machine:#06x} with optional header {pe.magic:#x}, not {arch}")
        return pe
    if pe.subsystem != IMAGE_SUBSYSTEM_WINDOWS_GUI:
        fault(f"subsystem {pe.subsystem}, not the Windows GUI (a console would open)")
    for what, got in (("subsystem", pe.subsystem_version), ("OS", pe.os_version)):
        if got > WINDOWS_7:
            fault(f"{what} version {got[0]}.{got[1]}: Windows 7 (6.1) refuses to start it")
    if pe.directory(13)[0]:
        fault("has delay-loaded imports, which this check does not read")

    allowed = windows7_imports(arch)
    imports = pe.imports()
    if "COMCTL32.DLL" not in imports:
        fault("imports nothing of comctl32 (its controls and subclassing come from there)")
    for dll, names in sorted(imports.items()):
        if dll not in allowed:
            fault(f"imports {dll}, which is not one of Windows' own DLLs (not linked statically?)")
            continue
        for name in names:
            if name not in allowed[dll]:
                fault(f"imports {dll}!{name}, not known to be in {dll} of {BITS[arch]} Windows 7 "
                      f"(check it is there, then add it to cmake/windows7-imports.txt)")

    resources = pe.resources()
    manifest = resources.get((RT_MANIFEST, 1))
    if manifest is None:
        fault("no manifest (resource 24, 1)")
    else:
        try:
            identity = ET.fromstring(manifest).find(ASM + "assemblyIdentity")
            got = identity.get("processorArchitecture") if identity is not None else None
            if got != MANIFEST_ARCH[arch]:
                fault(f'manifest says processorArchitecture="{got}", not "{MANIFEST_ARCH[arch]}"')
            if identity is not None and identity.get("version") != version + ".0":
                fault(f'manifest says version="{identity.get("version")}", not "{version}.0"')
        except ET.ParseError as e:
            fault(f"manifest is not XML ({e})")

    block = resources.get((RT_VERSION, 1))
    if block is None:
        fault("no version resource")
    else:
        fixed, texts = version_strings(block)
        numbers = [int(n) for n in version.split(".")]
        want = ((numbers[0] << 16) | numbers[1], numbers[2] << 16)
        if fixed is None or fixed[0] != 0xFEEF04BD:
            fault("version resource without its fixed part")
        elif (fixed[2], fixed[3]) != want:
            got = f"{fixed[2] >> 16}.{fixed[2] & 0xFFFF}.{fixed[3] >> 16}.{fixed[3] & 0xFFFF}"
            fault(f"file version {got}, not {version}.0")
        for key, value in (("ProductName", "Dealwarden"), ("FileVersion", version),
                           ("OriginalFilename", "Dealwarden.exe")):
            if texts.get(key) != value:
                fault(f'version text {key} is "{texts.get(key)}", not "{value}"')

    groups = [data for (kind, _), data in resources.items() if kind == RT_GROUP_ICON]
    if not groups:
        fault("no icon")
    for group in groups:
        count = struct.unpack_from("<H", group, 4)[0]
        for i in range(count):
            icon_id = struct.unpack_from("<H", group, 6 + 14 * i + 12)[0]
            if (RT_ICON, icon_id) not in resources:
                fault(f"icon group names image {icon_id}, which is missing")
    return pe


def check_release(zip_path, version, note_path, faults):
    top = f"Dealwarden-{version}/"
    expected = {top + "Dealwarden.exe": "x64", top + "x86/Dealwarden.exe": "x86",
                top + "はじめに.txt": None}
    # Names without the UTF-8 flag are read in CP932, as Windows 7's Explorer
    # on a Japanese system reads them (it ignores the flag).
    with zipfile.ZipFile(zip_path, metadata_encoding="cp932") as z:
        infos = z.infolist()
        names = sorted(i.filename for i in infos)
        if names != sorted(expected):
            faults.append(f"the zip holds {names}, not {sorted(expected)}")
        for info in infos:
            if info.flag_bits & 0x800:
                faults.append(f"{info.filename}: stored with the UTF-8 flag, not in CP932")
            arch = expected.get(info.filename)
            data = z.read(info)
            if info.filename.endswith(".txt"):
                with open(note_path, "rb") as f:
                    if data != pack.windows_lines(f.read()):
                        faults.append(f"{info.filename}: not the players' note {note_path} "
                                      f"with CR LF line ends")
            elif arch:
                pe = check_exe(data, arch, version, faults, info.filename)
                if pe is not None and pe.symbols:
                    faults.append(f"{info.filename}: not stripped ({pe.symbols} symbols)")


def arguments(doc):
    """The command line both this check and its test take (see their doc)."""
    parser = argparse.ArgumentParser(description=doc.split("\n\n")[0])
    parser.add_argument("what", choices=("exe", "release"))
    parser.add_argument("file")
    parser.add_argument("--arch", choices=sorted(MACHINES))
    parser.add_argument("--version", required=True)
    parser.add_argument("--note")
    args = parser.parse_args()
    if args.what == "exe" and not args.arch:
        parser.error("exe needs --arch")
    if args.what == "release" and not args.note:
        parser.error("release needs --note")
    return args


NO_ZIP = 77  # ctest reports the check skipped


def zip_missing(path):
    if os.path.exists(path):
        return False
    print(f"no release zip {path} (./dw release makes it)")
    return True


def main():
    args = arguments(__doc__)
    faults = []
    if args.what == "exe":
        with open(args.file, "rb") as f:
            check_exe(f.read(), args.arch, args.version, faults, args.file)
    elif zip_missing(args.file):
        return NO_ZIP
    else:
        check_release(args.file, args.version, args.note, faults)
    for f in faults:
        print(f)
    print(f"check-exe: {args.file}: {len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
