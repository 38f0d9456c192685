#!/usr/bin/env python3
"""Draws Pendo's two icons (16 colours, 16x16 and 32x32 images each) and
writes them as .ico files: pendo.ico, the program's icon (a small clock
panel), and small.ico, the notification-area icon (a clock face)."""
import math
import struct
import sys

# The standard 16-colour palette, index -> (r, g, b).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, NAVY, SILVER, GREY, RED, WHITE, BLUE = 0, 4, 7, 8, 9, 15, 12
CLEAR = None


def panel(size):
    """A silver panel with a sunken edge and a clock face on it."""
    px = [[CLEAR] * size for _ in range(size)]
    top, bottom = size // 4, size - size // 4
    for y in range(top, bottom):
        for x in range(size):
            px[y][x] = SILVER
    for x in range(size):
        px[top][x] = GREY
        px[bottom - 1][x] = WHITE
    for y in range(top, bottom):
        px[y][0] = GREY
        px[y][size - 1] = WHITE
    face(px, size, cx=size * 0.3, cy=(top + bottom) / 2 - 0.5, r=(bottom - top) / 2 - 1.5)
    # A row of "digits" to the right of the face.
    for x in range(int(size * 0.55), size - 2, 2 if size <= 16 else 3):
        for y in range(top + 3, bottom - 3):
            px[y][x] = NAVY
    return px


def face(px, size, cx, cy, r):
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - cx, y - cy)
            if d <= r:
                px[y][x] = WHITE if d < r - 1 else NAVY
    # Hands at ten past ten.
    for angle, length, colour in ((-60, 0.85, BLACK), (-150, 0.55, BLACK)):
        a = math.radians(angle)
        steps = int(r * 2) + 1
        for i in range(steps):
            t = i / steps * r * length
            x, y = round(cx + t * math.cos(a)), round(cy + t * math.sin(a))
            if 0 <= x < size and 0 <= y < size:
                px[y][x] = colour
    px[round(cy)][round(cx)] = RED


def clock(size):
    px = [[CLEAR] * size for _ in range(size)]
    face(px, size, cx=(size - 1) / 2, cy=(size - 1) / 2, r=size / 2 - 0.5)
    return px


def entry_image(px):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):
        row = px[y]
        nibbles = [0 if c is None else c for c in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(data + b'\0' * ((4 - len(data) % 4) % 4))
        bits = 0
        mask = bytearray()
        for x, c in enumerate(row):
            bits = (bits << 1) | (1 if c is None else 0)
            if x % 8 == 7:
                mask.append(bits)
                bits = 0
        and_rows.append(bytes(mask) + b'\0' * ((4 - len(mask) % 4) % 4))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def write_ico(path, images):
    blobs = [entry_image(px) for px in images]
    out = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for px, blob in zip(images, blobs):
        size = len(px)
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(out + b''.join(blobs))


if __name__ == '__main__':
    folder = sys.argv[1] if len(sys.argv) > 1 else '.'
    write_ico(folder + '/pendo.ico', [panel(32), panel(16)])
    write_ico(folder + '/small.ico', [clock(16), clock(32)])
