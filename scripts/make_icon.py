#!/usr/bin/env python3
"""Writes src/ui/resources/rq57load.ico: a key matrix on a blue plate,
16x16 and 32x32 pixels, each in 16 and 256 colours."""
import struct
import sys

# Colours (r, g, b); index order is the palette order in both depths.
BACKGROUND = (0, 0, 128)     # dark blue plate
KEY = (192, 192, 192)        # key cap
KEY_EDGE = (128, 128, 128)   # key shadow
KEY_LIGHT = (255, 255, 255)  # key highlight
PALETTE = [BACKGROUND, KEY, KEY_EDGE, KEY_LIGHT]


def draw(size):
    """Pixels as palette indexes, row 0 at the top; None is transparent."""
    px = [[None] * size for _ in range(size)]
    margin = size // 16
    for y in range(margin, size - margin):
        for x in range(margin, size - margin):
            px[y][x] = 0
    keys = 3
    cell = (size - 2 * margin) // keys
    pad = max(1, cell // 6)
    for r in range(keys):
        for c in range(keys):
            x0 = margin + c * cell + pad
            y0 = margin + r * cell + pad
            x1 = margin + (c + 1) * cell - pad
            y1 = margin + (r + 1) * cell - pad
            for y in range(y0, y1):
                for x in range(x0, x1):
                    if y == y0 or x == x0:
                        px[y][x] = 3
                    elif y == y1 - 1 or x == x1 - 1:
                        px[y][x] = 2
                    else:
                        px[y][x] = 1
    return px


def image(size, bits):
    colours = 1 << bits
    px = draw(size)
    palette = PALETTE + [(0, 0, 0)] * (colours - len(PALETTE))
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    xor_row = (size * bits + 31) // 32 * 4
    and_row = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):  # bottom-up
        row = bytearray(xor_row)
        mrow = bytearray(and_row)
        for x in range(size):
            v = px[y][x]
            if v is None:
                mrow[x // 8] |= 0x80 >> (x % 8)
                v = 0
            if bits == 8:
                row[x] = v
            else:
                row[x // 2] |= v << (4 if x % 2 == 0 else 0)
        xor += row
        mask += mrow
    return header + pal + bytes(xor) + bytes(mask), colours


def main(path):
    entries = [image(16, 4), image(16, 8), image(32, 4), image(32, 8)]
    sizes = [16, 16, 32, 32]
    out = bytearray(struct.pack('<HHH', 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for (data, colours), size in zip(entries, sizes):
        out += struct.pack('<BBBBHHII', size, size, colours % 256, 0, 1,
                           4 if colours == 16 else 8, len(data), offset)
        offset += len(data)
    for data, _ in entries:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'src/ui/resources/rq57load.ico')
