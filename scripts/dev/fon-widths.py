#!/usr/bin/env python3
"""Prints the advance widths of characters 0x20..0xFF of one face of a Windows .fon
bitmap font as a C++ table, for the built-in window-font widths of tessaly-cli.

    scripts/dev/fon-widths.py /usr/share/wine/fonts/sserife.fon 10
"""
import struct
import sys

RT_FONT = 0x8008


def faces(data):
    """Yields each FNT resource of a .fon (an NE executable)."""
    ne = struct.unpack_from("<H", data, 0x3C)[0]
    table = ne + struct.unpack_from("<H", data, ne + 0x24)[0]
    shift = struct.unpack_from("<H", data, table)[0]
    p = table + 2
    while True:
        kind, count = struct.unpack_from("<HH", data, p)
        p += 8
        if kind == 0:
            return
        for _ in range(count):
            offset, length = struct.unpack_from("<HH", data, p)
            p += 12
            if kind == RT_FONT:
                yield data[offset << shift:(offset + length) << shift]


def widths(fnt):
    version = struct.unpack_from("<H", fnt, 0)[0]
    first, last, default = fnt[95], fnt[96], fnt[97]
    # Version 2 entries are (width, 16-bit offset), version 3 (width, 32-bit offset).
    table, entry = (118, 4) if version == 0x200 else (148, 6)
    found = {first + k: struct.unpack_from("<H", fnt, table + entry * k)[0]
             for k in range(last - first + 1)}
    # The default character is counted from the first one.
    return found, found[first + default]


def main():
    path, points = sys.argv[1], int(sys.argv[2])
    for fnt in faces(open(path, "rb").read()):
        size, vertical_dpi, pixel_height = struct.unpack_from("<HH", fnt, 68) + (fnt[88],)
        if size != points or vertical_dpi != 96:
            continue
        found, default = widths(fnt)
        print(f"// {points}-point face, {pixel_height}-pixel cell; default character {default}")
        for row in range(0x20, 0x100, 16):
            cells = ", ".join(f"{found.get(c, default):2d}" for c in range(row, row + 16))
            print(f"    {cells},  // 0x{row:02X}")
        return
    sys.exit(f"{path} has no {points}-point face at 96 DPI")


if __name__ == "__main__":
    main()
