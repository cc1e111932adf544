#!/usr/bin/env python3
"""Writes a 16 x 16, 16-colour .ico from a picture drawn in text.

    make-icon.py PICTURE.txt OUTPUT.ico

Lines starting with '#' are comments; the other 16 lines have 16 characters,
one a pixel, from the legend below ('.' is transparent)."""
import struct
import sys

# The 16 standard colours, in palette order, as (blue, green, red).
PALETTE = [
    (0x00, 0x00, 0x00), (0x00, 0x00, 0x80), (0x00, 0x80, 0x00), (0x00, 0x80, 0x80),
    (0x80, 0x00, 0x00), (0x80, 0x00, 0x80), (0x80, 0x80, 0x00), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0x00, 0x00, 0xFF), (0x00, 0xFF, 0x00), (0x00, 0xFF, 0xFF),
    (0xFF, 0x00, 0x00), (0xFF, 0x00, 0xFF), (0xFF, 0xFF, 0x00), (0xFF, 0xFF, 0xFF),
]
LEGEND = {'K': 0, 'R': 1, 'G': 2, 'O': 3, 'N': 4, 'P': 5, 'T': 6, 'L': 7,
          'D': 8, 'r': 9, 'g': 10, 'Y': 11, 'B': 12, 'M': 13, 'C': 14, 'W': 15, '.': 0}
SIZE = 16


def main(source, target):
    rows = [line.rstrip('\n') for line in open(source) if not line.startswith('#')]
    rows = [r for r in rows if r]
    if len(rows) != SIZE or any(len(r) != SIZE for r in rows):
        sys.exit(f"{source}: the picture must be {SIZE} lines of {SIZE} characters")
    pixels = b''
    mask = b''
    for row in reversed(rows):  # bitmaps run bottom-up
        for a, b in zip(row[0::2], row[1::2]):
            pixels += bytes([LEGEND[a] << 4 | LEGEND[b]])
        bits = sum(1 << (15 - i) for i, c in enumerate(row) if c == '.')
        mask += struct.pack('>H', bits) + b'\0\0'  # scan lines are 32-bit aligned
    palette = b''.join(bytes([b, g, r, 0]) for b, g, r in PALETTE)
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, 2 * SIZE, 1, 4, 0, len(pixels) + len(mask), 0, 0, 16, 0)
    image = header + palette + pixels + mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(image), 22)
    with open(target, 'wb') as out:
        out.write(directory + image)


if __name__ == '__main__':
    main(*sys.argv[1:])
