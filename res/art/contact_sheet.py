#!/usr/bin/python3
"""Writes a contact sheet PNG of every bitmap and icon in a built
lumeview.exe, as the program will draw them.

    /usr/bin/python3 res/art/contact_sheet.py BUILD/bin/lumeview.exe sheet.png

Each bitmap is shown as stored (key colour visible) and with its key
replaced by the button face, as the panel paints it, at 1x and 2x; each
icon over the button face and over a checkerboard (to show its mask), at
1x and 4x.  The sheet is for people to look at; it is not committed.
"""

import os
import re
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCE_H = os.path.normpath(os.path.join(HERE, "..", "resource.h"))

RT_ICON, RT_BITMAP, RT_GROUP_ICON = 3, 2, 14
BUTTON_FACE = (240, 240, 240)
SHEET_BACK = (255, 255, 255)


def resources(path):
    """All resources of a PE file: {(type, id, language): bytes}; named
    entries are skipped."""
    with open(path, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    sections, opt_size = struct.unpack_from("<H12xH", data, pe + 6)
    opt = pe + 24
    rsrc_rva = struct.unpack_from("<I", data, opt + 96 + 2 * 8)[0]
    table = opt + opt_size
    spans = []
    for i in range(sections):
        vsize, va, raw_size, raw = struct.unpack_from("<IIII", data, table + i * 40 + 8)
        spans.append((va, max(vsize, raw_size), raw))

    def offset(rva):
        for va, size, raw in spans:
            if va <= rva < va + size:
                return rva - va + raw
        raise ValueError("address outside every section")

    base = offset(rsrc_rva)

    def entries(at):
        named, ids = struct.unpack_from("<HH", data, base + at + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", data, base + at + 16 + i * 8)
            if name & 0x80000000:
                continue
            yield name, target

    out = {}
    for rtype, t1 in entries(0):
        for rid, t2 in entries(t1 & 0x7FFFFFFF):
            for lang, t3 in entries(t2 & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", data, base + t3)
                start = offset(rva)
                out[(rtype, rid, lang)] = data[start:start + size]
    return out


def dib_image(dib, key_face=None):
    """An 8-bit (or 4-bit) packed DIB as an RGB image; with key_face the
    colour entry of the bottom-left pixel is replaced by that colour."""
    size, w, h, planes, bits = struct.unpack_from("<IiiHH", dib, 0)
    colours = 1 << bits
    palette = [struct.unpack_from("<BBB", dib, size + 4 * i)[::-1] for i in range(colours)]
    pixels = dib[size + 4 * colours:]
    stride = ((w * bits + 31) // 32) * 4
    if key_face is not None:
        palette[pixels[0] if bits == 8 else pixels[0] >> 4] = key_face
    img = Image.new("RGB", (w, h))
    px = img.load()
    for row in range(h):
        line = pixels[row * stride:(row + 1) * stride]
        for x in range(w):
            if bits == 8:
                v = line[x]
            else:
                v = (line[x // 2] >> (4 if x % 2 == 0 else 0)) & 15
            px[x, h - 1 - row] = palette[v]
    return img


def icon_image(image, back):
    """An icon image (DIB with double height and AND mask) over `back`."""
    size, w, h2 = struct.unpack_from("<Iii", image, 0)
    h = h2 // 2
    bits = struct.unpack_from("<H", image, 14)[0]
    colours = 1 << bits
    xor_stride = ((w * bits + 31) // 32) * 4
    mask_off = size + 4 * colours + xor_stride * h
    mask_stride = ((w + 31) // 32) * 4
    colour = dib_image(struct.pack("<Iii", size, w, h) + image[12:mask_off])
    out = back.copy()
    cpx, opx = colour.load(), out.load()
    for row in range(h):
        for x in range(w):
            bit = image[mask_off + row * mask_stride + x // 8] >> (7 - x % 8) & 1
            if not bit:
                opx[x, h - 1 - row] = cpx[x, h - 1 - row]
    return out


def checker(size, cell=4):
    img = Image.new("RGB", size, (255, 255, 255))
    d = ImageDraw.Draw(img)
    for y in range(0, size[1], cell):
        for x in range(0, size[0], cell):
            if (x // cell + y // cell) % 2:
                d.rectangle([x, y, x + cell - 1, y + cell - 1], fill=(200, 200, 200))
    return img


def names():
    found = {}
    with open(RESOURCE_H, encoding="utf-8") as f:
        for line in f:
            m = re.match(r"#define\s+(ID[BI]_\w+)\s+(\d+)", line)
            if m:
                found[int(m.group(2))] = found.get(int(m.group(2)), []) + [m.group(1)]
    return found


def tiles(res):
    label_names = names()
    for (rtype, rid, lang), data in sorted(res.items()):
        if rtype != RT_BITMAP:
            continue
        label = "bitmap %d %s lang %04x" % (
            rid, "/".join(n for n in label_names.get(rid, []) if n.startswith("IDB")), lang)
        raw = dib_image(data)
        face = dib_image(data, BUTTON_FACE)
        big = face.resize((face.width * 2, face.height * 2), Image.NEAREST)
        yield label, [raw, face, big]
    for (rtype, rid, lang), data in sorted(res.items()):
        if rtype != RT_GROUP_ICON:
            continue
        count = struct.unpack_from("<H", data, 4)[0]
        for i in range(count):
            image_id = struct.unpack_from("<H", data, 6 + i * 14 + 12)[0]
            image = next(v for (t, n, _), v in res.items() if t == RT_ICON and n == image_id)
            w = struct.unpack_from("<i", image, 4)[0]
            on_face = icon_image(image, Image.new("RGB", (w, w), BUTTON_FACE))
            on_check = icon_image(image, checker((w, w)))
            label = "icon %d (image %d) %s lang %04x" % (
                rid, image_id,
                "/".join(n for n in label_names.get(rid, []) if n.startswith("IDI")), lang)
            yield label, [on_face, on_check,
                          on_face.resize((w * 4, w * 4), Image.NEAREST),
                          on_check.resize((w * 4, w * 4), Image.NEAREST)]


def tile(label, ims, font):
    pad = 6
    width = max(sum(im.width + pad for im in ims) - pad, 6 * len(label))
    height = 14 + max(im.height for im in ims)
    out = Image.new("RGB", (width, height), SHEET_BACK)
    ImageDraw.Draw(out).text((0, 0), label, fill=(0, 0, 0), font=font)
    x = 0
    for im in ims:
        out.paste(im, (x, 14))
        x += im.width + pad
    return out


def sheet(res, max_width=1500):
    """Tiles packed into rows, left to right."""
    font = ImageFont.load_default()
    pad = 16
    placed = []
    x = y = pad
    row_height = 0
    for label, ims in tiles(res):
        t = tile(label, ims, font)
        if x > pad and x + t.width + pad > max_width:
            x = pad
            y += row_height + pad
            row_height = 0
        placed.append((t, x, y))
        x += t.width + pad
        row_height = max(row_height, t.height)
    width = max(px + t.width for t, px, _ in placed) + pad
    out = Image.new("RGB", (width, y + row_height + pad), SHEET_BACK)
    for t, px, py in placed:
        out.paste(t, (px, py))
    return out


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip())
        return 2
    sheet(resources(argv[0])).save(argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
