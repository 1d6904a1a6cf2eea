"""A screen dump of xwd (ZPixmap, 32 bits a pixel, as Xvfb's 24-bit screens give) as a PNG,
with the standard library alone."""

import struct
import zlib


def png_of_xwd(dump):
    fields = struct.unpack(">25I", dump[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    bits_per_pixel, bytes_per_line, colours = fields[11], fields[12], fields[19]
    if bits_per_pixel != 32:
        raise ValueError("a dump of %d bits a pixel" % bits_per_pixel)
    start = header_size + colours * 12
    rows = []
    for y in range(height):
        line = dump[start + y * bytes_per_line:start + y * bytes_per_line + width * 4]
        rgb = bytearray(width * 3)
        rgb[0::3] = line[2::4]
        rgb[1::3] = line[1::4]
        rgb[2::3] = line[0::4]
        rows.append(b"\0" + bytes(rgb))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body)))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b""))
