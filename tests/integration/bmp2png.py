#!/usr/bin/env python3
"""Writes a PNG beside each 24-bit BMP given (no image library needed)."""
import struct
import sys
import zlib


def convert(path):
    data = open(path, 'rb').read()
    offset = struct.unpack_from('<I', data, 10)[0]
    width, height = struct.unpack_from('<ii', data, 18)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source = (abs(height) - 1 - y) if height > 0 else y
        row = data[offset + source * stride: offset + source * stride + width * 3]
        rgb = bytearray(len(row))
        rgb[0::3], rgb[1::3], rgb[2::3] = row[2::3], row[1::3], row[0::3]
        rows.append(b'\0' + bytes(rgb))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, abs(height), 8, 2, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(b''.join(rows), 9)) + chunk(b'IEND', b'')
    open(path[:-4] + '.png', 'wb').write(png)


for name in sys.argv[1:]:
    convert(name)
