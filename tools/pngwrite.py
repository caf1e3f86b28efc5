"""PNG writing for the data scripts (Python standard library only): 8-bit RGBA, no filtering."""
import struct
import zlib


def png_bytes(width, height, rgba_rows):
    """The PNG file of an image given as rows of flat r, g, b, a byte values."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(row) for row in rgba_rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def write_png(path, rows):
    """Writes an image given as rows of (r, g, b, a) pixels."""
    flat = [[v for p in row for v in p] for row in rows]
    with open(path, "wb") as f:
        f.write(png_bytes(len(rows[0]), len(rows), flat))
