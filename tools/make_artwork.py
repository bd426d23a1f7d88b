#!/usr/bin/env python3
"""Draws the component's artwork once and writes it to artwork/pictures/.

The files are checked in; the code only loads them. Run this again only to
change a picture:

    python3 tools/make_artwork.py [OUTPUT_FOLDER]

Pictures (each drawn top row first, one character a pixel, from the keys of
its palette below):

  calendar-button.bmp  17 x 16, 4 bits, standard 16 colours (310 bytes):
                       the calendar button of the date field
  about.bmp            24 x 22, 4 bits, standard 16 colours (382 bytes):
                       the picture of the about box
  toolbox.bmp          16 x 15, 8 bits, 20-colour palette: the toolbox picture
  calendar.ico         32 x 32 and 16 x 16, 16 colours (1078 bytes): the
                       window icon of the calendar pop-up
"""

import os
import struct
import sys

# The standard 16-colour palette, as red, green, blue.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# The 20 static colours of a palette-based desktop: the first ten and the
# last ten of its system palette.
STATIC20 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128),
    (128, 0, 128), (0, 128, 128), (192, 192, 192), (192, 220, 192), (166, 202, 240),
    (255, 251, 240), (160, 160, 164), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# Picture characters to colour names.
KEYS = {
    "k": "black", "n": "navy", "s": "silver", "w": "white", "r": "red",
    "g": "gray", "m": "maroon", ".": "clear",
}
NAMES16 = {"black": 0, "maroon": 1, "navy": 4, "silver": 7, "gray": 8, "red": 9, "white": 15}
NAMES20 = {"black": 0, "maroon": 1, "navy": 4, "silver": 7, "gray": 12, "red": 13, "white": 19}

# 17 x 16: a navy band three pixels high across the top of a calendar page,
# a white sheet with three rows of three black day marks, a black edge, on
# the silver of the button face.
BUTTON = [
    "sssssssssssssssss",
    "sskkkkkkkkkkkkkss",
    "ssknnnnnnnnnnnkss",
    "ssknnnnnnnnnnnkss",
    "ssknnnnnnnnnnnkss",
    "sskwwwwwwwwwwwkss",
    "sskwkkwkkwkkwwkss",
    "sskwwwwwwwwwwwkss",
    "sskwwwwwwwwwwwkss",
    "sskwkkwkkwkkwwkss",
    "sskwwwwwwwwwwwkss",
    "sskwwwwwwwwwwwkss",
    "sskwkkwkkwkkwwkss",
    "sskwwwwwwwwwwwkss",
    "sskkkkkkkkkkkkkss",
    "sssssssssssssssss",
]

# 24 x 22: a desk-calendar page, two red digits ("31") on a white sheet
# inside a grey frame, two black rings at the top.
ABOUT = [
    "ssssssssssssssssssssssss",
    "ssssssksssssssssksssssss",
    "sgggggkgggggggggkgggggss",
    "sgggggkgggggggggkgggggks",
    "sggwwwwwwwwwwwwwwwwwggks",
    "sggwwwwwwwwwwwwwwwwwggks",
    "sggwwwrrrrrwwrrrwwwwggks",
    "sggwwwrrrrrwwrrrwwwwggks",
    "sggwwwwwwrrwwwrrwwwwggks",
    "sggwwwwwwrrwwwrrwwwwggks",
    "sggwwwwrrrrwwwrrwwwwggks",
    "sggwwwwrrrrwwwrrwwwwggks",
    "sggwwwwwwrrwwwrrwwwwggks",
    "sggwwwwwwrrwwwrrwwwwggks",
    "sggwwwrrrrrwwrrrrwwwggks",
    "sggwwwrrrrrwwrrrrwwwggks",
    "sggwwwwwwwwwwwwwwwwwggks",
    "sggwwwwwwwwwwwwwwwwwggks",
    "sgggggggggggggggggggggks",
    "sgggggggggggggggggggggks",
    "sskkkkkkkkkkkkkkkkkkkkks",
    "ssssssssssssssssssssssss",
]

# 16 x 15: a calendar page with two red digits ("12") on a white sheet.
TOOLBOX = [
    "ssssssssssssssss",
    "skkkkkkkkkkkkkss",
    "sknnnnnnnnnnnkss",
    "sknnnnnnnnnnnkss",
    "skwwwwwwwwwwwkss",
    "skwwrwwwrrrwwkss",
    "skwrrwwwwwrwwkss",
    "skwwrwwwwwrwwkss",
    "skwwrwwwrrrwwkss",
    "skwwrwwwrwwwwkss",
    "skwwrwwwrwwwwkss",
    "skwrrrwwrrrwwkss",
    "skwwwwwwwwwwwkss",
    "skkkkkkkkkkkkkss",
    "ssssssssssssssss",
]

# 32 x 32 and 16 x 16 icons: a calendar page with a navy band, red digits
# ("31") and a black edge, on a clear background.
ICON32 = [
    "................................",
    "................................",
    "....kkkkkkkkkkkkkkkkkkkkkkkk....",
    "....knnnnnnnnnnnnnnnnnnnnnnk....",
    "....knnnwwnnnnnnnnnnnnwwnnnk....",
    "....knnnwwnnnnnnnnnnnnwwnnnk....",
    "....knnnnnnnnnnnnnnnnnnnnnnk....",
    "....kwwwwwwwwwwwwwwwwwwwwwwkg...",
    "....kwwwwwwwwwwwwwwwwwwwwwwkg...",
    "....kwwwwwwwwwwwwwwwwwwwwwwkg...",
    "....kwwwwrrrrrrwwwwwrrrwwwwkg...",
    "....kwwwwrrrrrrwwwwrrrrwwwwkg...",
    "....kwwwwwwwwrrwwwwwwrrwwwwkg...",
    "....kwwwwwwwwrrwwwwwwrrwwwwkg...",
    "....kwwwwwwwwrrwwwwwwrrwwwwkg...",
    "....kwwwwwrrrrrwwwwwwrrwwwwkg...",
    "....kwwwwwrrrrrwwwwwwrrwwwwkg...",
    "....kwwwwwwwwrrwwwwwwrrwwwwkg...",
    "....kwwwwwwwwrrwwwwwwrrwwwwkg...",
    "....kwwwwwwwwrrwwwwwwrrwwwwkg...",
    "....kwwwwrrrrrrwwwwrrrrrrwwkg...",
    "....kwwwwrrrrrrwwwwrrrrrrwwkg...",
    "....kwwwwwwwwwwwwwwwwwwwwwwkg...",
    "....kwwwwwwwwwwwwwwwwwwwwwwkg...",
    "....kwwwwwwwwwwwwwwwwwwwwwwkg...",
    "....kwwwwwwwwwwwwwwwwwwwwwwkg...",
    "....kwwwwwwwwwwwwwwwwwwwwwwkg...",
    "....kkkkkkkkkkkkkkkkkkkkkkkkg...",
    ".....ggggggggggggggggggggggggg..",
    "................................",
    "................................",
    "................................",
]

ICON16 = [
    "................",
    ".kkkkkkkkkkkkk..",
    ".knnnnnnnnnnnk..",
    ".knnnnnnnnnnnk..",
    ".kwwwwwwwwwwwkg.",
    ".kwrrrwwwrrwwkg.",
    ".kwwwrwwwwrwwkg.",
    ".kwwrrwwwwrwwkg.",
    ".kwwwrwwwwrwwkg.",
    ".kwrrrwwwrrrwkg.",
    ".kwwwwwwwwwwwkg.",
    ".kwwwwwwwwwwwkg.",
    ".kwwwwwwwwwwwkg.",
    ".kkkkkkkkkkkkkg.",
    "..gggggggggggggg",
    "................",
]


def indices(rows, width, height, names):
    assert len(rows) == height, (len(rows), height)
    out = []
    for row in rows:
        assert len(row) == width, (row, width)
        out.append([0 if KEYS[c] == "clear" else names[KEYS[c]] for c in row])
    return out


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)


def pixel_rows(pixels, bits):
    """The pixel rows bottom row first, each padded to four bytes."""
    out = b""
    for row in reversed(pixels):
        if bits == 4:
            data = bytearray()
            for i in range(0, len(row), 2):
                hi = row[i]
                lo = row[i + 1] if i + 1 < len(row) else 0
                data.append((hi << 4) | lo)
        else:
            data = bytearray(row)
        while len(data) % 4:
            data.append(0)
        out += bytes(data)
    return out


def info_header(width, height, bits, colours, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size,
                       3780, 3780, colours, 0)


def bitmap_file(pixels, bits, colours):
    width, height = len(pixels[0]), len(pixels)
    body = pixel_rows(pixels, bits)
    pal = palette_bytes(colours)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    return header + info_header(width, height, bits, len(colours), len(body)) + pal + body


def and_mask(rows):
    out = b""
    for row in reversed(rows):
        bits = [1 if c == "." else 0 for c in row]
        data = bytearray()
        for i in range(0, len(bits), 8):
            byte = 0
            for k in range(8):
                if i + k < len(bits) and bits[i + k]:
                    byte |= 0x80 >> k
            data.append(byte)
        while len(data) % 4:
            data.append(0)
        out += bytes(data)
    return out


def icon_image(rows):
    size = len(rows)
    pixels = indices(rows, size, size, NAMES16)
    xor = pixel_rows(pixels, 4)
    mask = and_mask(rows)
    # An icon image's height counts the colour rows and the mask rows.
    header = info_header(size, size * 2, 4, 0, len(xor) + len(mask))
    return header + palette_bytes(VGA16) + xor + mask


def icon_file(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for rows in images:
        blob = icon_image(rows)
        size = len(rows)
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "artwork", "pictures")
    os.makedirs(folder, exist_ok=True)
    files = {
        "calendar-button.bmp": bitmap_file(indices(BUTTON, 17, 16, NAMES16), 4, VGA16),
        "about.bmp": bitmap_file(indices(ABOUT, 24, 22, NAMES16), 4, VGA16),
        "toolbox.bmp": bitmap_file(indices(TOOLBOX, 16, 15, NAMES20), 8, STATIC20),
        "calendar.ico": icon_file([ICON32, ICON16]),
    }
    expected = {"calendar-button.bmp": 310, "about.bmp": 382, "calendar.ico": 1078}
    for name, data in files.items():
        if name in expected:
            assert len(data) == expected[name], (name, len(data))
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        print(f"{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
