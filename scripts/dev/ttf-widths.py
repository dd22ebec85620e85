#!/usr/bin/env python3
"""Prints the advance widths, in thousandths of the em, of the 256 Windows-1252 codes in
one TrueType face as a C++ table (0 where the code page or the face has no character):
Helvetica's widths, read from its metric twin, for the event lines of the PDF calendar.

    scripts/dev/ttf-widths.py /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf
"""
import struct
import sys


def tables(data):
    count = struct.unpack_from(">H", data, 4)[0]
    found = {}
    for k in range(count):
        tag, _, offset, length = struct.unpack_from(">4sIII", data, 12 + 16 * k)
        found[tag.decode("latin-1")] = data[offset:offset + length]
    return found


def unicode_cmap(cmap):
    """The format 4 subtable of the Windows Unicode BMP encoding: character -> glyph."""
    count = struct.unpack_from(">H", cmap, 2)[0]
    for k in range(count):
        platform, encoding, offset = struct.unpack_from(">HHI", cmap, 4 + 8 * k)
        if (platform, encoding) == (3, 1) and struct.unpack_from(">H", cmap, offset)[0] == 4:
            break
    else:
        sys.exit("no Windows Unicode BMP cmap of format 4")
    segments = struct.unpack_from(">H", cmap, offset + 6)[0] // 2
    ends = offset + 14
    starts = ends + 2 * segments + 2
    deltas = starts + 2 * segments
    ranges = deltas + 2 * segments
    glyphs = {}
    for s in range(segments):
        end, start = struct.unpack_from(">H", cmap, ends + 2 * s)[0], \
            struct.unpack_from(">H", cmap, starts + 2 * s)[0]
        delta = struct.unpack_from(">h", cmap, deltas + 2 * s)[0]
        range_offset = struct.unpack_from(">H", cmap, ranges + 2 * s)[0]
        for c in range(start, min(end, 0xFFFE) + 1):
            if range_offset == 0:
                glyph = (c + delta) & 0xFFFF
            else:
                at = ranges + 2 * s + range_offset + 2 * (c - start)
                glyph = struct.unpack_from(">H", cmap, at)[0]
                glyph = (glyph + delta) & 0xFFFF if glyph else 0
            if glyph:
                glyphs[c] = glyph
    return glyphs


def main():
    data = open(sys.argv[1], "rb").read()
    t = tables(data)
    units = struct.unpack_from(">H", t["head"], 18)[0]
    metrics = struct.unpack_from(">H", t["hhea"], 34)[0]
    glyphs = unicode_cmap(t["cmap"])

    def advance(glyph):
        return struct.unpack_from(">H", t["hmtx"], 4 * min(glyph, metrics - 1))[0]

    widths = []
    for code in range(256):
        try:
            c = ord(bytes([code]).decode("cp1252"))
        except UnicodeDecodeError:
            c = None
        glyph = glyphs.get(c) if c is not None and c >= 0x20 and c != 0x7F else None
        widths.append(round(1000 * advance(glyph) / units) if glyph else 0)
    for row in range(0, 256, 16):
        print("    " + ", ".join(str(w) for w in widths[row:row + 16]) + f",  // 0x{row:02X}")


main()
