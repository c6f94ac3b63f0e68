#!/usr/bin/env python3
"""Writes Tarnwell.ico, the settings program's icon: a 32x32 image of 32 bits
(a blue envelope with a white flap and a green tick, on a transparent
ground) and a 16x16 image of 24 bits (the same envelope, masked at the
corners). Run it in this folder."""
import struct

BLUE = (200, 110, 30)     # blue, green, red
WHITE = (255, 255, 255)
GREEN = (40, 170, 60)
EDGE = (120, 60, 10)


def dib_header(width, height, bits):
    # An icon image's height counts the colour rows and the mask rows.
    return struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, bits, 0, 0, 0, 0, 0, 0)


def envelope(size):
    """The colour at (x, y), top-down, or None where the ground shows."""
    top, bottom = size // 4, size - size // 4
    def colour(x, y):
        if y < top or y >= bottom or x < 1 or x >= size - 1:
            return None
        if y in (top, bottom - 1) or x in (1, size - 2):
            return EDGE
        # The flap: a V from the top corners to the middle.
        middle = size // 2
        depth = (bottom - top) // 2
        if abs(x - middle) * depth // middle == depth - (y - top) and y - top <= depth:
            return EDGE
        # The tick in the lower right quarter.
        tx, ty = x - size * 5 // 8, y - size * 9 // 16
        if 0 <= tx < size // 4 and 0 <= ty < size // 4:
            if ty == size // 8 - 1 - tx + size // 16 or (tx < size // 16 and ty == tx + size // 16):
                return GREEN
        return WHITE if y - top < depth // 2 else BLUE
    return colour


def image(size, bits):
    colour = envelope(size)
    pixels = b''
    for y in reversed(range(size)):
        row = b''
        for x in range(size):
            c = colour(x, y)
            if bits == 32:
                row += struct.pack('BBBB', *(c or (0, 0, 0)), 255 if c else 0)
            else:
                row += struct.pack('BBB', *(c or (0, 0, 0)))
        pixels += row + b'\0' * (-len(row) % 4)
    mask = b''
    for y in reversed(range(size)):
        row = bytearray((size + 31) // 32 * 4)
        for x in range(size):
            if colour(x, y) is None:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    return dib_header(size, size, bits) + pixels + mask


images = [(32, 32, image(32, 32)), (16, 24, image(16, 24))]
ico = struct.pack('<HHH', 0, 1, len(images))
offset = 6 + 16 * len(images)
for size, bits, data in images:
    ico += struct.pack('<BBBBHHII', size, size, 0, 0, 1, bits, len(data), offset)
    offset += len(data)
ico += b''.join(data for *_, data in images)
open('Tarnwell.ico', 'wb').write(ico)
