#!/usr/bin/env python3
"""Draws the two small pictures of the resource script: res/tavelin.ico, a 32x32 16-colour
program icon (a yellow folder with a second, outlined one behind it), and res/folder.bmp, the
16x16 yellow closed folder of the folder tree, whose white pixels the image list makes
transparent. Run from the repository root; the results are committed."""
import struct

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
           (0, 255, 255), (255, 255, 255)]
BLACK, OLIVE, YELLOW, BLUE, CYAN, WHITE = 0, 3, 11, 12, 14, 15
PALETTE_BYTES = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)


def rows_4bit(pixels, width):
    """Bottom-up rows of 4-bit pixels, each padded to four bytes."""
    data = b''
    for row in reversed(pixels):
        line = bytearray((row[x] << 4) | row[x + 1] for x in range(0, width, 2))
        while len(line) % 4:
            line.append(0)
        data += bytes(line)
    return data


def folder(size):
    """A closed folder on white; the mask is 1 where the picture is transparent."""
    scale = size / 16
    pixels = [[WHITE] * size for _ in range(size)]
    mask = [[1] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(int(y0 * scale), int(y1 * scale)):
            for x in range(int(x0 * scale), int(x1 * scale)):
                pixels[y][x] = colour
                mask[y][x] = 0

    fill(1, 3, 7, 5, BLACK)
    fill(2, 4, 6, 5, YELLOW)  # the tab
    fill(1, 4, 15, 14, BLACK)
    fill(2, 5, 14, 13, YELLOW)  # the body
    fill(2, 6, 14, 7, OLIVE)  # the fold
    return pixels, mask


def icon():
    pixels, mask = folder(32)
    for y in range(2, 6):
        for x in range(16, 30):
            if mask[y][x]:
                pixels[y][x] = BLUE if y in (2, 5) or x in (16, 29) else CYAN
                mask[y][x] = 0
    xor = rows_4bit(pixels, 32)
    and_mask = b''
    for row in reversed(mask):
        bits = 0
        for bit in row:
            bits = (bits << 1) | bit
        and_mask += struct.pack('>I', bits)
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 4, 0, len(xor) + len(and_mask), 0, 0, 16, 0)
    image = header + PALETTE_BYTES + xor + and_mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(image), 22)
    return directory + image


def tree_bitmap():
    pixels, _ = folder(16)
    data = rows_4bit(pixels, 16)
    info = struct.pack('<IiiHHIIiiII', 40, 16, 16, 1, 4, 0, len(data), 0, 0, 16, 0) + PALETTE_BYTES
    offset = 14 + len(info)
    return struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset) + info + data


if __name__ == '__main__':
    with open('res/tavelin.ico', 'wb') as f:
        f.write(icon())
    with open('res/folder.bmp', 'wb') as f:
        f.write(tree_bitmap())
