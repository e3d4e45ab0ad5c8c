#!/usr/bin/env python3
"""Check that a built ZORIZA.exe has the shape we ship.

Usage: check_program_file.py [--icon app/zoriza.ico] [--allowed-imports FILE] PATH_TO_EXE

The allowed imports default to windows7_sp1_imports.txt beside this script.

Each check prints "PASS name" or "FAIL name: detail"; the last line is
"N passed, M failed".  The exit status is 0 only when nothing failed.
The PE file is parsed here with struct alone.
"""

import argparse
import os
import struct
import sys
import xml.etree.ElementTree as ET

# --- PE constants -----------------------------------------------------------
DOS_MAGIC = b"MZ"
PE_SIGNATURE = b"PE\0\0"
OPTIONAL_MAGIC_PE32 = 0x10B
OPTIONAL_MAGIC_PE32_PLUS = 0x20B
MACHINE_I386 = 0x14C
SUBSYSTEM_WINDOWS_GUI = 2
DIR_IMPORT = 1
DIR_RESOURCE = 2
DIR_BASE_RELOCATION = 5
DIR_DELAY_IMPORT = 13
RELOCATION_HIGHLOW = 3

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24
MANIFEST_ID = 1

# --- what the shipped program must carry ---------------------------------------
# The image's DLL characteristics the loader and Microsoft's binary checks
# look for: ASLR, NX, no SEH handlers (only meaningful for 32-bit x86) and
# Terminal Server awareness.
DLL_CHARACTERISTICS = {
    "dynamic_base": 0x0040,
    "nx_compat": 0x0100,
    "no_seh": 0x0400,
    "terminal_server_aware": 0x8000,
}
SUBSYSTEM_VERSION = (6, 1)  # Windows 7
# A stack protector on i686 reads a guard word at entry and compares it at
# exit with "sub/xor reg, [guard]" (opcode 2B or 33, ModRM mod 00 r/m 101):
# that many compares against one address mean that many protected functions.
GUARD_COMPARE_OPCODES = (0x2B, 0x33)
MIN_PROTECTED_FUNCTIONS = 10
SYSTEM_DLLS = {
    "kernel32", "user32", "gdi32", "advapi32", "shell32", "ole32", "oleaut32",
    "comctl32", "shlwapi", "uxtheme", "msvcrt", "mpr", "version",
}
SYSTEM_DLL_PREFIXES = ("api-ms-win-",)

FIXED_VERSION = (1, 0, 0, 0)
VERSION_ROOT_KEY = "VS_VERSION_INFO"
VS_FIXED_SIGNATURE = 0xFEEF04BD
LANGUAGE_SPANISH = 0x0C0A
CODEPAGE_UNICODE = 1200
STRING_TABLE_KEY = "%04X%04X" % (LANGUAGE_SPANISH, CODEPAGE_UNICODE)  # "0C0A04B0"
REQUIRED_STRINGS = {
    "FileVersion": "1.00",
    "ProductVersion": "1.00",
    "ProductName": "ZORIZA",
    "InternalName": "ZORIZA",
    "OriginalFilename": "ZORIZA.exe",
}
NON_EMPTY_STRINGS = ("CompanyName",)

ICON_SIZE = 64
ICON_BITS = 8
ICON_COLOUR_COUNT = 0  # a directory byte of 0 means 256 colours

COMMON_CONTROLS_NAME = "Microsoft.Windows.Common-Controls"
COMMON_CONTROLS_VERSION = "6.0.0.0"
DPI_AWARENESS = "PerMonitorV2"
# Windows 8.1 reads this older form (per-monitor); Windows 7 reads "true" in it.
LEGACY_DPI_AWARE = "true/pm"
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}

DEFAULT_ALLOWED_IMPORTS = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                       "windows7_sp1_imports.txt")


class BadFile(Exception):
    pass


def u16(data, off):
    return struct.unpack_from("<H", data, off)[0]


def u32(data, off):
    return struct.unpack_from("<I", data, off)[0]


def c_string(data, off):
    end = data.find(b"\0", off)
    if end < 0:
        raise BadFile(f"unterminated string at 0x{off:x}")
    return data[off:end].decode("ascii", "replace")


# --- PE image -----------------------------------------------------------------
class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != DOS_MAGIC:
            raise BadFile("no MZ header")
        pe = u32(data, 0x3C)
        if data[pe:pe + 4] != PE_SIGNATURE:
            raise BadFile("no PE signature")
        coff = pe + 4
        self.machine = u16(data, coff)
        section_count = u16(data, coff + 2)
        optional_size = u16(data, coff + 16)
        opt = coff + 20
        self.magic = u16(data, opt)
        self.subsystem = u16(data, opt + 68)
        self.subsystem_version = (u16(data, opt + 48), u16(data, opt + 50))
        self.dll_characteristics = u16(data, opt + 70)
        if self.magic == OPTIONAL_MAGIC_PE32:
            self.image_base = u32(data, opt + 28)
            dirs = opt + 96
        elif self.magic == OPTIONAL_MAGIC_PE32_PLUS:
            self.image_base = struct.unpack_from("<Q", data, opt + 24)[0]
            dirs = opt + 112
        else:
            raise BadFile(f"unknown optional header magic 0x{self.magic:x}")
        dir_count = u32(data, dirs - 4)
        self.directories = [struct.unpack_from("<II", data, dirs + 8 * i)
                            for i in range(dir_count)]
        self.sections = []
        for i in range(section_count):
            s = opt + optional_size + 40 * i
            vsize, vaddr, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((vaddr, max(vsize, rawsize), rawptr, rawsize))
        self.executable_ranges = []
        for i in range(section_count):
            s = opt + optional_size + 40 * i
            vsize, vaddr = struct.unpack_from("<II", data, s + 8)
            if u32(data, s + 36) & 0x20000000:  # IMAGE_SCN_MEM_EXECUTE
                self.executable_ranges.append((vaddr, vaddr + vsize))

    def directory(self, index):
        if index >= len(self.directories):
            return 0, 0
        return self.directories[index]

    def offset(self, rva):
        for vaddr, vsize, rawptr, rawsize in self.sections:
            if vaddr <= rva < vaddr + vsize:
                if rva - vaddr >= rawsize:
                    raise BadFile(f"RVA 0x{rva:x} lies in uninitialised data")
                return rawptr + rva - vaddr
        raise BadFile(f"RVA 0x{rva:x} is outside every section")

    def read(self, rva, size):
        off = self.offset(rva)
        return self.data[off:off + size]


def thunk_names(pe, rva):
    """The names a lookup table imports; an import by ordinal is named "#N"."""
    size, ordinal_flag = (4, 1 << 31) if pe.magic == OPTIONAL_MAGIC_PE32 else (8, 1 << 63)
    names = []
    while True:
        entry = struct.unpack_from("<I" if size == 4 else "<Q", pe.data, pe.offset(rva))[0]
        if not entry:
            return names
        if entry & ordinal_flag:
            names.append(f"#{entry & 0xFFFF}")
        else:
            names.append(c_string(pe.data, pe.offset((entry & 0x7FFFFFFF) + 2)))
        rva += size


def imports(pe):
    """Return [(dll, [function names])] of the import and delay-import tables."""
    found = []
    rva, _ = pe.directory(DIR_IMPORT)
    while rva:
        lookup, _, _, name_rva, thunks = struct.unpack_from("<IIIII", pe.data, pe.offset(rva))
        if not (lookup or name_rva or thunks):
            break
        found.append((c_string(pe.data, pe.offset(name_rva)), thunk_names(pe, lookup or thunks)))
        rva += 20
    rva, _ = pe.directory(DIR_DELAY_IMPORT)
    while rva:
        attributes, name, _, _, names = struct.unpack_from("<IIIII", pe.data, pe.offset(rva))
        if not name:
            break
        base = 0 if attributes & 1 else pe.image_base
        found.append((c_string(pe.data, pe.offset(name - base)), thunk_names(pe, names - base)))
        rva += 32
    return found


def imported_dlls(pe):
    return [dll for dll, _ in imports(pe)]


def resources(pe):
    """Return {(type, name, language): bytes}; string names are kept as str."""
    root_rva, _ = pe.directory(DIR_RESOURCE)
    found = {}
    if not root_rva:
        return found
    base = pe.offset(root_rva)
    data = pe.data

    def entry_id(raw):
        if raw & 0x80000000:
            off = base + (raw & 0x7FFFFFFF)
            length = u16(data, off)
            return data[off + 2:off + 2 + 2 * length].decode("utf-16-le")
        return raw

    def walk(dir_off, path):
        named, numbered = struct.unpack_from("<HH", data, base + dir_off + 12)
        for i in range(named + numbered):
            raw_id, target = struct.unpack_from("<II", data, base + dir_off + 16 + 8 * i)
            key = path + (entry_id(raw_id),)
            if target & 0x80000000:
                walk(target & 0x7FFFFFFF, key)
            else:
                data_rva, size = struct.unpack_from("<II", data, base + target)
                found[key] = pe.read(data_rva, size)

    walk(0, ())
    return found


def resources_of_type(res, rtype, name=None):
    return [(k, v) for k, v in res.items()
            if k[0] == rtype and (name is None or k[1] == name)]


# --- version resource ---------------------------------------------------------
def align4(n):
    return (n + 3) & ~3


def parse_version_node(data, off):
    """Parse one VS_VERSIONINFO-style node; return (key, value bytes, children, end)."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, off)
    end = off + length
    key_start = off + 6
    key_end = key_start
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[key_start:key_end].decode("utf-16-le")
    value_start = align4(key_end + 2)
    value_size = value_length * 2 if value_type == 1 else value_length
    value = data[value_start:min(value_start + value_size, end)]
    children = []
    child = align4(value_start + value_size)
    while child + 6 <= end:
        node = parse_version_node(data, child)
        children.append(node)
        child = align4(node[3])
    return key, value, children, end


def child(node, key):
    for c in node[2]:
        if c[0] == key:
            return c
    return None


def version_root(res):
    found = resources_of_type(res, RT_VERSION)
    if not found:
        raise BadFile("no RT_VERSION resource")
    root = parse_version_node(found[0][1], 0)
    if root[0] != VERSION_ROOT_KEY:
        raise BadFile(f"version resource key is {root[0]!r}")
    return root


def check_version_fixed(res):
    value = version_root(res)[1]
    if len(value) < 52 or u32(value, 0) != VS_FIXED_SIGNATURE:
        return "VS_FIXEDFILEINFO missing or unsigned"
    ms_ls = struct.unpack_from("<IIII", value, 8)
    versions = [(ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
                for ms, ls in (ms_ls[0:2], ms_ls[2:4])]
    problems = [f"{label} is {'.'.join(map(str, v))}"
                for label, v in zip(("FileVersion", "ProductVersion"), versions)
                if v != FIXED_VERSION]
    return "; ".join(problems) or None


def check_version_strings(res):
    file_info = child(version_root(res), "StringFileInfo")
    table = file_info and child(file_info, STRING_TABLE_KEY)
    if table is None:
        return f"no StringFileInfo table {STRING_TABLE_KEY}"
    strings = {c[0]: c[1].decode("utf-16-le").rstrip("\0") for c in table[2]}
    problems = [f"{k} is {strings.get(k)!r}, want {v!r}"
                for k, v in REQUIRED_STRINGS.items() if strings.get(k) != v]
    problems += [f"{k} is empty" for k in NON_EMPTY_STRINGS if not strings.get(k, "").strip()]
    return "; ".join(problems) or None


def check_version_translation(res):
    var_info = child(version_root(res), "VarFileInfo")
    translation = var_info and child(var_info, "Translation")
    if translation is None or len(translation[1]) < 4:
        return "no VarFileInfo Translation"
    pairs = [struct.unpack_from("<HH", translation[1], i)
             for i in range(0, len(translation[1]) - 3, 4)]
    if (LANGUAGE_SPANISH, CODEPAGE_UNICODE) not in pairs:
        return "translations are " + ", ".join(f"0x{l:04X}/{c}" for l, c in pairs)
    return None


# --- icon ---------------------------------------------------------------------
def group_icon_entries(res):
    groups = resources_of_type(res, RT_GROUP_ICON)
    if len(groups) != 1:
        raise BadFile(f"{len(groups)} RT_GROUP_ICON resources, want 1")
    data = groups[0][1]
    count = u16(data, 4)
    return [struct.unpack_from("<BBBBHHIH", data, 6 + 14 * i) for i in range(count)]


def icon_image(res, icon_id):
    found = resources_of_type(res, RT_ICON, icon_id)
    return found[0][1] if found else None


def check_icon_group(res):
    entries = group_icon_entries(res)
    if len(entries) != 1:
        return f"{len(entries)} icon images, want 1"
    width, height, colours, _, _, bits, _, _ = entries[0]
    width, height = width or 256, height or 256
    if (width, height, colours, bits) != (ICON_SIZE, ICON_SIZE, ICON_COLOUR_COUNT, ICON_BITS):
        return f"image is {width}x{height}, {colours} colours, {bits} bpp"
    return None


def check_icon_data(res):
    problems = []
    for entry in group_icon_entries(res):
        size, icon_id = entry[6], entry[7]
        image = icon_image(res, icon_id)
        if image is None:
            problems.append(f"RT_ICON {icon_id} missing")
            continue
        if len(image) != size:
            problems.append(f"RT_ICON {icon_id} has {len(image)} bytes, group says {size}")
        if len(image) < 40:
            problems.append(f"RT_ICON {icon_id} too short")
            continue
        _, w, h, _, bits = struct.unpack_from("<IiiHH", image, 0)
        if (w, h, bits) != (ICON_SIZE, 2 * ICON_SIZE, ICON_BITS):
            problems.append(f"RT_ICON {icon_id} DIB is {w}x{h} at {bits} bpp")
    return "; ".join(problems) or None


def ico_file_image(path):
    with open(path, "rb") as f:
        data = f.read()
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    if kind != 1 or count != 1:
        raise BadFile(f"{path} holds {count} images of type {kind}, want one icon")
    size, offset = struct.unpack_from("<II", data, 6 + 8)
    return data[offset:offset + size]


def check_icon_matches(res, ico_path):
    expected = ico_file_image(ico_path)
    entries = group_icon_entries(res)
    actual = icon_image(res, entries[0][7]) if entries else None
    if actual != expected:
        return f"embedded icon differs from {ico_path}"
    return None


# --- manifest -----------------------------------------------------------------
def local_name(tag):
    return tag.rsplit("}", 1)[-1]


def manifest_xml(res):
    found = resources_of_type(res, RT_MANIFEST, MANIFEST_ID)
    if not found:
        raise BadFile("no RT_MANIFEST resource with id 1")
    text = found[0][1]
    if text.startswith(b"\xef\xbb\xbf"):
        text = text[3:]
    return ET.fromstring(text)


def check_manifest_common_controls(res):
    for node in manifest_xml(res).iter():
        if local_name(node.tag) == "dependentAssembly":
            for ident in node:
                if (local_name(ident.tag) == "assemblyIdentity"
                        and ident.get("name") == COMMON_CONTROLS_NAME):
                    version = ident.get("version")
                    if version == COMMON_CONTROLS_VERSION:
                        return None
                    return f"{COMMON_CONTROLS_NAME} version is {version}"
    return f"no dependency on {COMMON_CONTROLS_NAME}"


def check_manifest_dpi(res):
    for node in manifest_xml(res).iter():
        if local_name(node.tag) == "dpiAwareness":
            values = [v.strip().lower() for v in (node.text or "").split(",")]
            if values and values[0] == DPI_AWARENESS.lower():
                return None
            return f"dpiAwareness is {node.text!r}"
    return "no dpiAwareness element"


def check_manifest_legacy_dpi(res):
    for node in manifest_xml(res).iter():
        if local_name(node.tag) == "dpiAware":
            if (node.text or "").strip().lower() == LEGACY_DPI_AWARE:
                return None
            return f"dpiAware is {node.text!r}, want {LEGACY_DPI_AWARE!r}"
    return "no dpiAware element"


def check_manifest_supported_os(res):
    declared = {node.get("Id", "").lower() for node in manifest_xml(res).iter()
                if local_name(node.tag) == "supportedOS"}
    missing = [name for guid, name in SUPPORTED_OS.items() if guid not in declared]
    return ("no supportedOS for " + ", ".join(missing)) if missing else None


# --- checks on the image headers ---------------------------------------------------
def check_pe32(pe):
    if pe.magic != OPTIONAL_MAGIC_PE32:
        return f"optional header magic 0x{pe.magic:x} (PE32+ is 64-bit)"
    return None


def check_machine(pe):
    return None if pe.machine == MACHINE_I386 else f"machine 0x{pe.machine:x}"


def check_subsystem(pe):
    if pe.subsystem != SUBSYSTEM_WINDOWS_GUI:
        return f"subsystem {pe.subsystem}"
    return None


def check_dll_characteristic(pe, name):
    if pe.dll_characteristics & DLL_CHARACTERISTICS[name]:
        return None
    return f"DllCharacteristics 0x{pe.dll_characteristics:04x} lacks 0x{DLL_CHARACTERISTICS[name]:04x}"


def check_subsystem_version(pe):
    if pe.subsystem_version == SUBSYSTEM_VERSION:
        return None
    return "subsystem version %d.%d, want %d.%d" % (pe.subsystem_version + SUBSYSTEM_VERSION)


def relocated_words(pe):
    """The RVAs of the 32-bit absolute addresses the loader relocates."""
    rva, size = pe.directory(DIR_BASE_RELOCATION)
    end = rva + size
    while rva and rva < end:
        page, block_size = struct.unpack_from("<II", pe.data, pe.offset(rva))
        if block_size < 8:
            break
        for i in range((block_size - 8) // 2):
            entry = u16(pe.data, pe.offset(rva + 8 + 2 * i))
            if entry >> 12 == RELOCATION_HIGHLOW:
                yield page + (entry & 0xFFF)
        rva += block_size


def guard_compares(pe):
    """How many times the code compares a register with the word at the address
    it compares against most often (the stack guard, when there is one)."""
    counts = {}
    for rva in relocated_words(pe):
        if not any(start + 2 <= rva < stop for start, stop in pe.executable_ranges):
            continue
        opcode, modrm = pe.read(rva - 2, 2)
        if opcode in GUARD_COMPARE_OPCODES and modrm & 0xC7 == 0x05:
            target = u32(pe.data, pe.offset(rva))
            counts[target] = counts.get(target, 0) + 1
    return max(counts.values(), default=0)


def check_stack_protector(pe):
    compares = guard_compares(pe)
    if compares >= MIN_PROTECTED_FUNCTIONS:
        return None
    return f"{compares} functions check a stack guard, want at least {MIN_PROTECTED_FUNCTIONS}"


def is_system_dll(name):
    base = name.lower()
    if base.endswith(".dll"):
        base = base[:-4]
    return base in SYSTEM_DLLS or base.startswith(SYSTEM_DLL_PREFIXES)


def check_imports(pe):
    foreign = [n for n in imported_dlls(pe) if not is_system_dll(n)]
    return ("imports " + ", ".join(foreign)) if foreign else None


def read_allowed_imports(path):
    """{dll (lower case): {function}} from lines "dll function"; "#" starts a comment."""
    allowed = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            if len(words) != 2:
                raise BadFile(f"{path}:{number}: want \"dll function\"")
            allowed.setdefault(words[0].lower(), set()).add(words[1])
    return allowed


def check_imports_allowed(pe, allowed_path):
    allowed = read_allowed_imports(allowed_path)
    outside = [f"{dll}!{name}" for dll, names in imports(pe) for name in names
               if name not in allowed.get(dll.lower(), ())]
    if outside:
        return (f"{len(outside)} imports outside {os.path.basename(allowed_path)}: "
                + ", ".join(outside))
    return None


# --- driver ---------------------------------------------------------------------
def run_checks(exe_path, ico_path, allowed_imports_path=DEFAULT_ALLOWED_IMPORTS):
    with open(exe_path, "rb") as f:
        pe = PeImage(f.read())
    res = resources(pe)
    checks = [
        ("pe32", lambda: check_pe32(pe)),
        ("machine_i386", lambda: check_machine(pe)),
        ("subsystem_gui", lambda: check_subsystem(pe)),
        ("subsystem_version_windows7", lambda: check_subsystem_version(pe)),
    ]
    checks += [(name, lambda name=name: check_dll_characteristic(pe, name))
               for name in DLL_CHARACTERISTICS]
    checks += [
        ("stack_protector", lambda: check_stack_protector(pe)),
        ("imports_system_only", lambda: check_imports(pe)),
        ("imports_in_windows7_sp1", lambda: check_imports_allowed(pe, allowed_imports_path)),
        ("version_fixed_info", lambda: check_version_fixed(res)),
        ("version_strings", lambda: check_version_strings(res)),
        ("version_translation", lambda: check_version_translation(res)),
        ("icon_group", lambda: check_icon_group(res)),
        ("icon_data", lambda: check_icon_data(res)),
    ]
    if ico_path:
        checks.append(("icon_matches_file", lambda: check_icon_matches(res, ico_path)))
    checks += [
        ("manifest_common_controls", lambda: check_manifest_common_controls(res)),
        ("manifest_dpi_awareness", lambda: check_manifest_dpi(res)),
        ("manifest_dpi_aware_before_windows10", lambda: check_manifest_legacy_dpi(res)),
        ("manifest_supported_os", lambda: check_manifest_supported_os(res)),
    ]
    results = []
    for name, check in checks:
        try:
            results.append((name, check()))
        except (OSError, BadFile, struct.error, ET.ParseError, UnicodeDecodeError, IndexError) as e:
            results.append((name, str(e) or type(e).__name__))
    return results


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--icon", help="the .ico whose image must be embedded")
    parser.add_argument("--allowed-imports", default=DEFAULT_ALLOWED_IMPORTS,
                        help="the functions the file may import, one \"dll function\" a line")
    parser.add_argument("exe")
    args = parser.parse_args(argv[1:])
    try:
        results = run_checks(args.exe, args.icon, args.allowed_imports)
    except (OSError, BadFile, struct.error) as e:
        results = [("pe_format", str(e))]
    failed = 0
    for name, problem in results:
        if problem is None:
            print(f"PASS {name}")
        else:
            failed += 1
            print(f"FAIL {name}: {problem}")
    print(f"{len(results) - failed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
