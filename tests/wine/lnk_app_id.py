#!/usr/bin/env python3
"""Prints the AppUserModelID a .lnk file carries, read from its bytes alone:
the property store data blocks (0xA0000009) of its extra data, property 5 of
{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}. One line per block found, so that a
file with two blocks shows two lines; nothing when it carries none."""
import struct
import sys
import uuid

FORMAT = uuid.UUID("9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3").bytes_le
VT_LPWSTR = 0x1F


def extra_data_start(data):
    flags = struct.unpack_from("<I", data, 0x14)[0]
    at = 0x4C
    if flags & 0x01:
        at += 2 + struct.unpack_from("<H", data, at)[0]
    if flags & 0x02:
        at += struct.unpack_from("<I", data, at)[0]
    width = 2 if flags & 0x80 else 1
    for bit in (0x04, 0x08, 0x10, 0x20, 0x40):
        if flags & bit:
            at += 2 + width * struct.unpack_from("<H", data, at)[0]
    return at


def ids_in_store(store):
    at = 0
    while at + 4 <= len(store):
        size = struct.unpack_from("<I", store, at)[0]
        if size == 0:
            break
        storage = store[at:at + size]
        if storage[4:8] == b"1SPS" and storage[8:24] == FORMAT:
            pos = 24
            while pos + 4 <= len(storage):
                value_size = struct.unpack_from("<I", storage, pos)[0]
                if value_size == 0:
                    break
                pid = struct.unpack_from("<I", storage, pos + 4)[0]
                vtype = struct.unpack_from("<H", storage, pos + 9)[0]
                if pid == 5 and vtype == VT_LPWSTR:
                    count = struct.unpack_from("<I", storage, pos + 13)[0]
                    text = storage[pos + 17:pos + 17 + 2 * count].decode("utf-16-le")
                    yield text.rstrip("\0")
                pos += value_size
        at += size


def main(path):
    data = open(path, "rb").read()
    at = extra_data_start(data)
    while at + 8 <= len(data):
        size, signature = struct.unpack_from("<II", data, at)
        if size < 4:
            break
        if signature == 0xA0000009:
            found = list(ids_in_store(data[at + 8:at + size]))
            print(found[0] if found else "(a property store without the ID)")
        at += size


if __name__ == "__main__":
    main(sys.argv[1])
