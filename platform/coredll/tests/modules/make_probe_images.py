#!/usr/bin/env python3
"""Writes the images of the ResourceProbe module (probe.ico, probe.bmp,
palette.bmp): small pictures with known pixels for the resource tests."""
import struct


def dib_header(width, height, bits, colours=0):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, 0, 0, 0, colours, 0)


def rows(width, height, pixel, bits):
    """Bottom-up rows, each padded to four bytes."""
    out = b''
    for y in reversed(range(height)):
        row = b''.join(pixel(x, y) for x in range(width))
        if bits == 8:
            row = bytes(row)
        out += row + b'\0' * (-len(row) % 4)
    return out


def mask(width, height, transparent):
    out = b''
    for y in reversed(range(height)):
        row = bytearray((width + 31) // 32 * 4)
        for x in range(width):
            if transparent(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += bytes(row)
    return out


# 32x32, 32 bits: red on the left half; on the right, green in the top
# eight rows and transparent below.
def big(x, y):
    if x < 16:
        return struct.pack('BBBB', 0, 0, 255, 255)
    if y < 8:
        return struct.pack('BBBB', 0, 255, 0, 255)
    return struct.pack('BBBB', 0, 0, 0, 0)


big_image = dib_header(32, 64, 32) + rows(32, 32, big, 32) + mask(32, 32, lambda x, y: x >= 16 and y >= 8)


# 16x16, 24 bits: blue, the right half masked out.
def small(x, y):
    return struct.pack('BBB', 255, 0, 0)


small_image = dib_header(16, 32, 24) + rows(16, 16, small, 24) + mask(16, 16, lambda x, y: x >= 8)

images = [(32, 32, 32, big_image), (16, 16, 24, small_image)]
ico = struct.pack('<HHH', 0, 1, len(images))
offset = 6 + 16 * len(images)
for w, h, bits, data in images:
    ico += struct.pack('<BBBBHHII', w, h, 0, 0, 1, bits, len(data), offset)
    offset += len(data)
ico += b''.join(d for *_, d in images)
open('probe.ico', 'wb').write(ico)


def bmp_file(dib):
    colours = struct.unpack_from('<I', dib, 32)[0]
    bits = struct.unpack_from('<H', dib, 14)[0]
    table = (colours or (1 << bits)) * 4 if bits <= 8 else 0
    return struct.pack('<2sIHHI', b'BM', 14 + len(dib), 0, 0, 14 + 40 + table) + dib


# 6x4, 24 bits: red rises to the right, green downwards, blue is 100.
colour = dib_header(6, 4, 24) + rows(6, 4, lambda x, y: struct.pack('BBB', 100, y * 60, x * 40), 24)
open('probe.bmp', 'wb').write(bmp_file(colour))

# 4x2, 8 bits through a colour table of four entries.
table = struct.pack('<4I', 0x000000, 0xFF0000, 0x00FF00, 0x0000FF)
palette = dib_header(4, 2, 8, 4) + table + rows(4, 2, lambda x, y: bytes([(x + y) % 4]), 8)
open('palette.bmp', 'wb').write(bmp_file(palette))
