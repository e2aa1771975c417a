#!/usr/bin/python3
"""Regenerates res/images/*.bmp and *.ico from the drawings in artwork.py.

    /usr/bin/python3 res/art/make_images.py           write the files
    /usr/bin/python3 res/art/make_images.py --check   only compare

The output is byte-for-byte repeatable with Debian 12's python3-pil (9.4);
--check exits 1 when a committed file differs from what the drawings give.
The build itself only reads the committed files.
"""

import os
import struct
import sys

from PIL import Image

import artwork

HERE = os.path.dirname(os.path.abspath(__file__))
IMAGES = os.path.normpath(os.path.join(HERE, "..", "images"))

CYAN = (0, 255, 255)
DARK_TEAL = (0, 128, 128)

DEVICE = (119, 97)
FEEDER = (112, 98)
COMPACT = (112, 92)

# file, size, key index, key colour, what to draw, pixels per metre
BITMAPS = [
    ("device_ready.bmp", DEVICE, 14, CYAN, ("device", artwork.BASE_MODEL, "ready"), 0),
    ("device_warning.bmp", DEVICE, 14, CYAN, ("device", artwork.BASE_MODEL, "warning"), 0),
    ("device_error.bmp", DEVICE, 14, CYAN, ("device", artwork.BASE_MODEL, "error"), 0),
    ("feeder_ready.bmp", FEEDER, 9, CYAN, ("device", artwork.FEEDER_MODEL, "ready"), 0),
    ("feeder_warning.bmp", FEEDER, 9, CYAN, ("device", artwork.FEEDER_MODEL, "warning"), 0),
    ("feeder_error.bmp", FEEDER, 9, CYAN, ("device", artwork.FEEDER_MODEL, "error"), 0),
    ("logo_fr.bmp", (144, 29), 11, DARK_TEAL, ("logo", "Moniteur d'\u00e9tat", 3, 18), 3780),
    ("logo_en.bmp", (142, 23), 6, DARK_TEAL, ("logo", "Status Monitor", 1, 15), 0),
    ("variant_a_ready.bmp", FEEDER, 9, CYAN,
     ("device", artwork.FEEDER_ONE_TRAY_MODEL, "ready"), 0),
    ("variant_a_warning.bmp", FEEDER, 9, CYAN,
     ("device", artwork.FEEDER_ONE_TRAY_MODEL, "warning"), 0),
    ("variant_a_error.bmp", FEEDER, 9, CYAN,
     ("device", artwork.FEEDER_ONE_TRAY_MODEL, "error"), 0),
    ("variant_b_ready.bmp", FEEDER, 14, CYAN,
     ("device", artwork.BASE_TWO_TRAY_MODEL, "ready"), 0),
    ("variant_b_warning.bmp", FEEDER, 14, CYAN,
     ("device", artwork.BASE_TWO_TRAY_MODEL, "warning"), 0),
    ("variant_b_error.bmp", FEEDER, 14, CYAN,
     ("device", artwork.BASE_TWO_TRAY_MODEL, "error"), 0),
    ("variant_c_ready.bmp", COMPACT, 14, CYAN,
     ("device", artwork.PRINTER_ONLY_MODEL, "ready"), 0),
    ("variant_c_warning.bmp", COMPACT, 14, CYAN,
     ("device", artwork.PRINTER_ONLY_MODEL, "warning"), 0),
    ("variant_c_error.bmp", COMPACT, 14, CYAN,
     ("device", artwork.PRINTER_ONLY_MODEL, "error"), 0),
]

ICONS = [
    ("icon_device_ready.ico", "device"),
    ("icon_device_warning.ico", "device_warning"),
    ("icon_device_error.ico", "device_error"),
    ("icon_state_blank.ico", "blank"),
    ("icon_state_warning.ico", "warning"),
    ("icon_state_error.ico", "error"),
]


def draw(what, size):
    if what[0] == "device":
        return artwork.device_picture(size, what[1], what[2])
    return artwork.logo_banner(size, what[1], what[2], what[3])


# ---- 8-bit bitmaps -----------------------------------------------------------

def palette_for(colours, key_index, key_colour):
    """256 entries: the key at its index and the picture's colours in the
    others.  Returns the palette and the index of every colour."""
    ordered = sorted(colours, key=lambda c: (c[0] * 299 + c[1] * 587 + c[2] * 114, c))
    if len(ordered) > 255:
        raise ValueError("a picture needs more than 255 colours")
    if key_colour in ordered:
        raise ValueError("the key colour is used by the drawing itself")
    palette = [(0, 0, 0)] * 256
    palette[key_index] = key_colour
    slots = [i for i in range(256) if i != key_index]
    index = {}
    for slot, colour in zip(slots, ordered):
        palette[slot] = colour
        index[colour] = slot
    return palette, index


def reduce_colours(img):
    """Maps the drawn pixels to at most 255 colours (exactly, when the
    drawing has no more)."""
    px = img.load()
    w, h = img.size
    drawn = [px[x, y][:3] for y in range(h) for x in range(w) if px[x, y][3]]
    if len(set(drawn)) <= 255:
        return img
    strip = Image.new("RGB", (len(drawn), 1))
    strip.putdata(drawn)
    reduced = strip.quantize(colors=255, method=Image.Quantize.MEDIANCUT,
                             dither=Image.Dither.NONE).convert("RGB")
    out = img.copy()
    opx = out.load()
    it = iter(reduced.getdata())
    for y in range(h):
        for x in range(w):
            if px[x, y][3]:
                opx[x, y] = next(it) + (255,)
    return out


def dib_file(img, key_index, key_colour, ppm):
    """A .bmp file: 14-byte file header (windres drops it), 40-byte
    BITMAPINFOHEADER, 256 colours, bottom-up rows padded to 4 bytes."""
    img = reduce_colours(img)
    w, h = img.size
    px = img.load()
    if px[0, h - 1][3]:
        raise ValueError("the bottom-left pixel must be background")
    colours = {px[x, y][:3] for y in range(h) for x in range(w) if px[x, y][3]}
    palette, index = palette_for(colours, key_index, key_colour)
    stride = (w + 3) & ~3
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytes(index[px[x, y][:3]] if px[x, y][3] else key_index for x in range(w))
        rows.append(row + bytes(stride - w))
    pixels = b"".join(rows)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(pixels), ppm, ppm, 0, 0)
    offset = 14 + len(info) + len(table)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + table + pixels


# ---- 16-colour icons -----------------------------------------------------------

def ico_file(img):
    """A one-image .ico: 32 x 32, 4 bits per pixel, the standard sixteen
    colours, AND mask set wherever the drawing leaves the pixel empty."""
    w, h = img.size
    px = img.load()
    index = {c: i for i, c in enumerate(artwork.VGA16)}
    xor = []
    mask = []
    for y in range(h - 1, -1, -1):
        nibbles = [index[px[x, y][:3]] if px[x, y][3] else 0 for x in range(w)]
        xor.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, w, 2)))
        bits = 0
        for x in range(w):
            bits = (bits << 1) | (0 if px[x, y][3] else 1)
        mask.append(bits.to_bytes(w // 8, "big"))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in artwork.VGA16)
    body = b"".join(xor) + b"".join(mask)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 4, 0, len(body), 0, 0, 0, 0)
    image = info + table + body
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w, h, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def products():
    for name, size, key_index, key_colour, what, ppm in BITMAPS:
        yield name, dib_file(draw(what, size), key_index, key_colour, ppm)
    for name, content in ICONS:
        yield name, ico_file(artwork.icon_image(content))


def main(argv):
    check = "--check" in argv
    differing = []
    for name, data in products():
        path = os.path.join(IMAGES, name)
        old = None
        if os.path.exists(path):
            with open(path, "rb") as f:
                old = f.read()
        if old == data:
            continue
        differing.append(name)
        if not check:
            with open(path, "wb") as f:
                f.write(data)
    for name in differing:
        print(("differs: " if check else "written: ") + name)
    return 1 if check and differing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
