#!/usr/bin/env python3
"""Draws the small pictures of the resource script: res/tavelin.ico, the 16-colour program icon
(a yellow folder with a second, outlined one behind it) at 16, 20, 24, 32, 40 and 48 pixels, and
res/folder*.bmp, the yellow closed folder of the folder tree at 16, 20, 24 and 32 pixels, whose
white pixels the image list makes transparent. Each size is drawn for itself, so a display at
125 %, 150 % or 200 % gets a picture with whole-pixel edges instead of a stretched one. Run from
the repository root; the results are committed."""
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


ICON_SIZES = (16, 20, 24, 32, 40, 48)
TREE_SIZES = (16, 20, 24, 32)


def mask_rows(mask):
    """Bottom-up rows of 1-bit mask, each padded to four bytes."""
    data = b''
    for row in reversed(mask):
        bits = list(row) + [0] * (-len(row) % 32)
        data += bytes(int(''.join(map(str, bits[i:i + 8])), 2) for i in range(0, len(bits), 8))
    return data


def icon_image(size):
    pixels, mask = folder(size)
    scale = size / 32
    top, bottom, left, right = int(2 * scale), int(6 * scale), int(16 * scale), int(30 * scale)
    for y in range(top, bottom):
        for x in range(left, right):
            if mask[y][x]:
                pixels[y][x] = BLUE if y in (top, bottom - 1) or x in (left, right - 1) else CYAN
                mask[y][x] = 0
    xor = rows_4bit(pixels, size)
    and_mask = mask_rows(mask)
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 4, 0, len(xor) + len(and_mask), 0, 0, 16, 0)
    return header + PALETTE_BYTES + xor + and_mask


def icon():
    images = [icon_image(size) for size in ICON_SIZES]
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(ICON_SIZES, images):
        directory += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + b''.join(images)


def tree_bitmap(size):
    pixels, _ = folder(size)
    data = rows_4bit(pixels, size)
    info = struct.pack('<IiiHHIIiiII', 40, size, size, 1, 4, 0, len(data), 0, 0, 16, 0) + PALETTE_BYTES
    offset = 14 + len(info)
    return struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset) + info + data


if __name__ == '__main__':
    with open('res/tavelin.ico', 'wb') as f:
        f.write(icon())
    for size in TREE_SIZES:
        with open('res/folder.bmp' if size == 16 else f'res/folder{size}.bmp', 'wb') as f:
            f.write(tree_bitmap(size))
