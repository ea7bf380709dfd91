"""PNG encoding for the small programs that draw the package's pictures
(prefs/resources/tools/make_selector_png.py, tweak/resources/tools/make_statusbar_pngs.py).

encode(width, height, rows) gives the bytes of an 8-bit RGBA PNG; rows are lists of
(r, g, b, a) tuples, top to bottom, straight (not premultiplied) alpha.
"""
import struct
import zlib


def encode(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
