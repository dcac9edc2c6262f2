#!/usr/bin/env python3
"""Builds the release archive with CPack into a scratch folder, unpacks it
and checks what users get: exactly the expected files, a 32-bit (or, for
the 64-bit build, 64-bit) tomefinder.dll that exports the two entry points
and carries the version resource, the sample dictionaries in code page 932
with CR LF line ends, and the guides as they stand in docs/.

  check_package.py CPACK CONFIG SOURCE_DIR VERSION SYSTEM
"""
import pathlib
import struct
import subprocess
import sys
import tempfile
import zipfile

DICTIONARIES = ["AuthDB.dat", "PubDB.dat", "LabelsDB.dat"]
GUIDES = ["guide.ja.md", "guide.en.md"]
MACHINES = {"win32": 0x14C, "win64": 0x8664}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


class Pe:
    """The parts of a PE image this test reads: sections, data directories."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from(
            "<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (96 if magic == 0x10B else 112)
        self.directories = [
            struct.unpack_from("<II", data, directories + 8 * i)
            for i in range(16)]
        table = optional + optional_size
        self.sections = []
        for i in range(sections):
            size, address, raw_size, raw = struct.unpack_from(
                "<IIII", data, table + 40 * i + 8)
            self.sections.append((address, max(size, raw_size), raw))

    def offset(self, rva):
        for address, size, raw in self.sections:
            if address <= rva < address + size:
                return raw + rva - address
        raise ValueError(f"address {rva:#x} outside every section")

    def u16(self, rva):
        return struct.unpack_from("<H", self.data, self.offset(rva))[0]

    def u32(self, rva):
        return struct.unpack_from("<I", self.data, self.offset(rva))[0]

    def text(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def exports(self):
        rva, _ = self.directories[0]
        if rva == 0:
            return []
        count, names = self.u32(rva + 24), self.u32(rva + 32)
        return [self.text(self.u32(names + 4 * i)) for i in range(count)]

    def version_resource(self):
        """The bytes of the first RT_VERSION resource."""
        root, _ = self.directories[2]

        def entries(directory):
            named, numbered = struct.unpack_from(
                "<HH", self.data, self.offset(root + directory + 12))
            for i in range(named + numbered):
                yield struct.unpack_from(
                    "<II", self.data, self.offset(root + directory + 16 + 8 * i))

        def first_leaf(directory, wanted=None):
            for ident, target in entries(directory):
                if wanted is not None and ident != wanted:
                    continue
                if target & 0x80000000:
                    return first_leaf(target & 0x7FFFFFFF)
                address, size = struct.unpack_from(
                    "<II", self.data, self.offset(root + target))
                start = self.offset(address)
                return self.data[start:start + size]
            return None

        return first_leaf(0, 16) if root else None


def version_blocks(data, start=0, end=None):
    """Yields (key, value bytes, children offset range) of version blocks."""
    end = len(data) if end is None else end
    while start + 6 <= end:
        length, value_length, kind = struct.unpack_from("<HHH", data, start)
        if length == 0:
            break
        key_end = start + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[start + 6:key_end].decode("utf-16-le")
        value_start = (key_end + 2 + 3) & ~3
        value_size = value_length * (2 if kind == 1 else 1)
        children = (value_start + value_size + 3) & ~3
        yield key, data[value_start:value_start + value_size], (
            children, start + length)
        start = (start + length + 3) & ~3


def version_info(resource):
    """The fixed file version and the StringFileInfo strings."""
    key, fixed, (child, end) = next(version_blocks(resource))
    signature, _, ms, ls, pms, pls = struct.unpack_from("<6I", fixed)
    strings = {}
    for name, _, (table_start, table_end) in version_blocks(resource, child, end):
        if name != "StringFileInfo":
            continue
        for _, _, (item_start, item_end) in version_blocks(
                resource, table_start, table_end):
            for item, value, _ in version_blocks(resource, item_start, item_end):
                strings[item] = value.decode("utf-16-le").rstrip("\0")
    return {"key": key, "signature": signature,
            "file": (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF),
            "product": (pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF),
            "strings": strings}


def check_dll(data, version, system):
    pe = Pe(data)
    check(pe.machine == MACHINES[system],
          f"tomefinder.dll: machine {pe.machine:#x}")
    check(sorted(pe.exports()) == ["DownlaodFunc", "funcGetInfo"],
          f"tomefinder.dll: exports {pe.exports()}")
    resource = pe.version_resource()
    if not check(resource is not None, "tomefinder.dll: no version resource"):
        return
    info = version_info(resource)
    numbers = tuple(int(n) for n in version.split(".")) + (0,)
    check(info["key"] == "VS_VERSION_INFO" and info["signature"] == 0xFEEF04BD,
          f"tomefinder.dll: version resource {info['key']!r}")
    check(info["file"] == numbers and info["product"] == numbers,
          f"tomefinder.dll: fixed versions {info['file']} {info['product']}")
    for name in ("FileVersion", "ProductVersion"):
        check(info["strings"].get(name) == version,
              f"tomefinder.dll: {name} {info['strings'].get(name)!r}")
    check(info["strings"].get("OriginalFilename") == "tomefinder.dll",
          f"tomefinder.dll: OriginalFilename {info['strings']}")


def check_dictionary(name, data, source):
    check(data == source, f"{name}: not the bytes of package/dictionaries")
    check(data.endswith(b"\r\n"), f"{name}: the last line has no CR LF")
    lines = data.split(b"\r\n")
    for number, line in enumerate(lines, 1):
        check(b"\r" not in line and b"\n" not in line,
              f"{name}:{number}: a line end other than CR LF")
        try:
            line.decode("cp932")
        except UnicodeDecodeError:
            failures.append(f"{name}:{number}: not code page 932")
    check(len(lines) > 1, f"{name}: empty")


def main():
    cpack, config, source, version, system = sys.argv[1:6]
    source = pathlib.Path(source)
    with tempfile.TemporaryDirectory() as scratch:
        subprocess.run([cpack, "--config", config, "-B", scratch],
                       check=True, stdout=subprocess.DEVNULL)
        top = f"tomefinder-{version}-{system}"
        archive = pathlib.Path(scratch) / f"{top}.zip"
        with zipfile.ZipFile(archive) as package:
            names = sorted(n for n in package.namelist() if not n.endswith("/"))
            expected = sorted(f"{top}/{n}" for n in
                              ["tomefinder.dll", "tools/shelfix.exe"]
                              + DICTIONARIES + GUIDES)
            check(names == expected, f"archive holds {names}")
            read = {n[len(top) + 1:]: package.read(n) for n in names}
    if "tomefinder.dll" in read:
        check_dll(read["tomefinder.dll"], version, system)
    if "tools/shelfix.exe" in read:
        check(Pe(read["tools/shelfix.exe"]).machine == MACHINES[system],
              "tools/shelfix.exe: not a program for this system")
    for name in DICTIONARIES:
        if name in read:
            check_dictionary(name, read[name],
                             (source / "package/dictionaries" / name).read_bytes())
    for name in GUIDES:
        if name in read:
            check(read[name] == (source / "docs" / name).read_bytes(),
                  f"{name}: not the bytes of docs/{name}")
    for failure in failures:
        print("release package:", failure)
    if not failures:
        print(f"release package: {archive.name} holds {len(read)} files as expected")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
