"""The drawings of lumeview: device pictures, status badges, logo banners
and icons.

Everything is drawn at the exact pixel size it is shipped in.  The device
is built from boxes in an oblique view (depth runs up and to the right at
2:1, so the receding edges are clean pixel stairs).  The badges are drawn
four times larger and reduced: inside the picture they blend smoothly into
the device, but against the background a pixel is either fully badge or
fully key colour, because the program swaps the key colour for the button
face and any blend with it would leave a cyan fringe.
"""

from PIL import Image, ImageDraw

import lettering

SUPERSAMPLE = 4
CLEAR = (0, 0, 0, 0)


# ---- Colour themes ---------------------------------------------------------

# True-colour theme of the device pictures (reduced to 255 colours later).
PICTURE_THEME = {
    "outline": (58, 62, 72),
    "body_front": (212, 215, 220),
    "body_top": (236, 238, 241),
    "body_side": (166, 171, 180),
    "tray_front": (198, 202, 209),
    "tray_top": (224, 227, 231),
    "seam": (150, 155, 164),
    "recess": (84, 88, 98),
    "interior": (52, 56, 64),
    "interior_top": (76, 80, 90),
    "paper": (255, 255, 255),
    "paper_edge": (214, 218, 224),
    "lid_front": (96, 102, 114),
    "lid_top": (124, 131, 144),
    "lid_side": (80, 86, 98),
    "lid_shine": (150, 157, 170),
    "panel_front": (66, 71, 82),
    "panel_top": (98, 104, 117),
    "panel_side": (52, 56, 66),
    "lcd": (146, 208, 236),
    "lcd_text": (40, 92, 124),
    "key_button": (184, 190, 200),
    "led": (38, 208, 72),
}

# The sixteen colours of a 4-bit icon, in the standard order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = VGA16[0:8]
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = VGA16[8:16]

ICON_THEME = {
    "outline": BLACK,
    "body_front": SILVER,
    "body_top": WHITE,
    "body_side": GREY,
    "tray_front": SILVER,
    "tray_top": WHITE,
    "seam": GREY,
    "recess": BLACK,
    "interior": BLACK,
    "interior_top": GREY,
    "paper": WHITE,
    "paper_edge": SILVER,
    "lid_front": GREY,
    "lid_top": SILVER,
    "lid_side": GREY,
    "lid_shine": WHITE,
    "panel_front": NAVY,
    "panel_top": BLUE,
    "panel_side": NAVY,
    "lcd": AQUA,
    "lcd_text": TEAL,
    "key_button": SILVER,
    "led": LIME,
}

WARNING_YELLOW = (255, 206, 0)
WARNING_EDGE = (44, 40, 30)
ERROR_RED = (218, 34, 34)
ERROR_RIM = (128, 12, 12)
ERROR_SHINE = (236, 84, 80)


# ---- Oblique boxes -----------------------------------------------------------

class Oblique:
    """Projects device coordinates (x right, y up, z into the picture) on
    the screen.  Coordinates are pixel centres: a box from x0 to x1 covers
    columns x0 to x1 inclusive, and two stacked boxes share one outline."""

    def __init__(self, draw, origin_x, origin_y, theme):
        self.draw = draw
        self.ox = origin_x
        self.oy = origin_y
        self.t = theme

    def p(self, x, y, z):
        return (self.ox + x + z, self.oy - y - z // 2)

    def quad(self, points, colour):
        self.draw.polygon([self.p(*pt) for pt in points],
                          fill=self.t[colour], outline=self.t["outline"])

    def box(self, x0, x1, y0, y1, z0, z1, front, top, side):
        self.quad([(x1, y0, z0), (x1, y1, z0), (x1, y1, z1), (x1, y0, z1)], side)
        self.quad([(x0, y1, z0), (x1, y1, z0), (x1, y1, z1), (x0, y1, z1)], top)
        self.quad([(x0, y0, z0), (x1, y0, z0), (x1, y1, z0), (x0, y1, z0)], front)

    def rect(self, x0, x1, y0, y1, colour, z=0, outline=False):
        """A flat rectangle on a front face (no outline unless asked)."""
        a = self.p(x0, y1, z)
        b = self.p(x1, y0, z)
        self.draw.rectangle([a, b], fill=self.t[colour],
                            outline=self.t["outline"] if outline else None)

    def pixel(self, x, y, colour, z=0):
        self.draw.point(self.p(x, y, z), fill=self.t[colour])


# ---- Device models -------------------------------------------------------------

# Geometry of each model: width, depth (even), tray heights from the floor
# up, the print engine, the output gap, the scanner and what sits on top.
BASE_MODEL = {
    "width": 88, "depth": 22, "trays": [15], "engine": 28, "gap": 10,
    "scanner": 15, "top": "lid", "panel": True,
}
FEEDER_MODEL = {
    "width": 80, "depth": 20, "trays": [12, 12], "engine": 20, "gap": 8,
    "scanner": 11, "top": "feeder", "panel": True,
}
# Never loaded: further variants carried along with the set.
FEEDER_ONE_TRAY_MODEL = dict(FEEDER_MODEL, trays=[13], engine=28)
BASE_TWO_TRAY_MODEL = dict(BASE_MODEL, width=80, depth=20, trays=[12, 12],
                           engine=20, gap=8, scanner=12)
PRINTER_ONLY_MODEL = {
    "width": 80, "depth": 24, "trays": [13], "engine": 34, "gap": 0,
    "scanner": 0, "top": "output", "panel": True,
}

ICON_MODEL = {
    "width": 21, "depth": 8, "trays": [5], "engine": 7, "gap": 4,
    "scanner": 5, "top": "lid", "panel": True, "small": True,
}


def draw_tray(ob, x1, y0, y1, d, small):
    ob.box(0, x1, y0, y1, 0, d, "tray_front", "tray_top", "body_side")
    mid = x1 // 2
    if small:
        ob.rect(mid - 3, mid + 3, y0 + 2, y0 + 2, "recess")
    else:
        half = max(8, x1 // 8)
        ob.rect(mid - half, mid + half, y0 + 4, y0 + 6, "recess")
        ob.rect(mid - half + 1, mid + half - 1, y0 + 3, y0 + 3, "seam")


def draw_device(draw, model, origin_x, origin_y, theme):
    """Draws one device model with its front-bottom-left corner at the
    given screen point."""
    ob = Oblique(draw, origin_x, origin_y, theme)
    w, d = model["width"], model["depth"]
    small = model.get("small", False)

    y = 0
    for h in model["trays"]:
        draw_tray(ob, w, y, y + h, d, small)
        y += h

    engine_top = y + model["engine"]
    ob.box(0, w, y, engine_top, 0, d, "body_front", "interior_top", "body_side")
    if not small:
        # front door seam and a highlight along the top edge
        ob.rect(3, w - 3, engine_top - 3, engine_top - 3, "seam")
        ob.rect(1, w - 1, engine_top - 1, engine_top - 1, "body_top")
    y = engine_top

    if model["top"] == "output":
        draw_top_output(ob, w, d, y, small)
        if model["panel"]:
            draw_front_buttons(ob, w, y, small)
        return

    gap_top = y + model["gap"]
    column = w - (w * 3) // 10
    # The output bay: open at the front, closed by a back wall and by the
    # column on the right that carries the scanner.
    ob.box(0, column, y, gap_top, d - 6, d, "interior", "interior", "interior")
    draw_output_paper(ob, column, d, y, small)
    ob.box(column, w, y, gap_top, 0, d, "body_front", "body_top", "body_side")
    y = gap_top

    scanner_top = y + model["scanner"]
    ob.box(0, w, y, scanner_top, 0, d, "body_front", "body_top", "body_side")
    y = scanner_top

    if model["top"] == "lid":
        draw_lid(ob, w, d, y, small)
    else:
        draw_feeder(ob, w, d, y, small)

    if model["panel"]:
        draw_panel(ob, w, y - model["scanner"], y, small)


def draw_output_paper(ob, column, d, y, small):
    if small:
        ob.draw.polygon([ob.p(2, y + 1, 1), ob.p(column - 3, y + 1, 1),
                         ob.p(column - 3, y + 1, d - 2), ob.p(2, y + 1, d - 2)],
                        fill=ob.t["paper"])
        return
    # a few printed sheets lying in the bay, the top one slightly skewed
    for i, (x0, x1, z0, z1) in enumerate([(6, column - 8, 2, d - 6),
                                         (5, column - 10, 4, d - 4)]):
        ob.draw.polygon([ob.p(x0, y + 1 + i, z0), ob.p(x1, y + 1 + i, z0),
                         ob.p(x1, y + 1 + i, z1), ob.p(x0, y + 1 + i, z1)],
                        fill=ob.t["paper"], outline=ob.t["paper_edge"])
    ob.draw.line([ob.p(10, y + 2, 8), ob.p(column - 18, y + 2, 8)],
                 fill=ob.t["paper_edge"])
    ob.draw.line([ob.p(10, y + 2, 12), ob.p(column - 22, y + 2, 12)],
                 fill=ob.t["paper_edge"])


def draw_lid(ob, w, d, y, small):
    h = 2 if small else 5
    ob.box(0, w, y, y + h, 0, d, "lid_front", "lid_top", "lid_side")
    if small:
        return
    # handle recess in the middle of the lid's front edge
    ob.rect(w // 2 - 9, w // 2 + 9, y + 1, y + 1, "lid_side")
    # a shine across the lid
    for i in range(3):
        a = ob.p(8 + i * 2 + 6, y + h, 4 + i * 4)
        b = ob.p(30 + i * 2 + 6, y + h, 4 + i * 4)
        ob.draw.line([a, b], fill=ob.t["lid_shine"])


def draw_feeder(ob, w, d, y, small):
    """The document feeder: a flat base over the glass, the roller housing
    on the left, the input tray with its paper stack over the output
    tray."""
    ob.box(0, w, y, y + 4, 0, d, "lid_front", "lid_top", "lid_side")
    base_top = y + 4
    housing = 17
    # input tray, raised above the base, with the originals on it
    ob.box(housing, w - 6, base_top + 4, base_top + 6, 2, d - 2,
           "lid_front", "lid_top", "lid_side")
    ob.box(housing + 3, w - 14, base_top + 6, base_top + 9, 4, d - 5,
           "paper", "paper", "paper_edge")
    ob.draw.line([ob.p(housing + 3, base_top + 8, 4), ob.p(w - 14, base_top + 8, 4)],
                 fill=ob.t["paper_edge"])
    # originals already fed, lying on the base under the tray
    ob.draw.line([ob.p(housing + 2, base_top + 1, 0), ob.p(w - 24, base_top + 1, 0)],
                 fill=ob.t["paper"])
    ob.draw.line([ob.p(housing + 2, base_top + 2, 0), ob.p(w - 24, base_top + 2, 0)],
                 fill=ob.t["paper"])
    # roller housing
    ob.box(0, housing, base_top, base_top + 11, 0, d, "lid_front", "lid_top", "lid_side")
    ob.rect(3, housing - 3, base_top + 8, base_top + 8, "lid_shine")
    # paper guide on the tray
    ob.box(w - 16, w - 13, base_top + 6, base_top + 10, 3, d - 4,
           "lid_front", "lid_top", "lid_side")


def draw_panel(ob, w, y0, y1, small):
    """Control panel: a dark slab standing out of the scanner's front on
    the right, with a display, keys and the ready lamp."""
    if small:
        x0, x1 = w - 8, w - 1
        ob.box(x0, x1, y0, y1 - 1, -2, 0, "panel_front", "panel_top", "panel_side")
        ob.rect(x0 + 1, x0 + 3, y0 + 1, y1 - 3, "lcd", z=-2)
        ob.pixel(x1 - 1, y0 + 2, "led", z=-2)
        return
    x0, x1 = w - 30, w - 2
    z = -4
    y0, y1 = y0 + 2, y1 - 1
    ob.box(x0, x1, y0, y1, z, 0, "panel_front", "panel_top", "panel_side")
    ob.rect(x0 + 3, x0 + 15, y0 + 2, y1 - 5, "lcd", z=z, outline=True)
    ob.rect(x0 + 5, x0 + 10, y1 - 7, y1 - 7, "lcd_text", z=z)
    ob.rect(x0 + 5, x0 + 12, y0 + 4, y0 + 4, "lcd_text", z=z)
    for i in range(3):
        ob.rect(x0 + 18 + i * 3, x0 + 19 + i * 3, y0 + 2, y0 + 3, "key_button", z=z)
    ob.rect(x1 - 4, x1 - 3, y1 - 6, y1 - 5, "led", z=z)


def draw_top_output(ob, w, d, y, small):
    # the output tray sunk into the top, with a printed sheet on it
    ob.draw.polygon([ob.p(6, y, 4), ob.p(w - 24, y, 4), ob.p(w - 24, y, d - 4),
                     ob.p(6, y, d - 4)], fill=ob.t["interior"], outline=ob.t["outline"])
    ob.draw.polygon([ob.p(10, y, 6), ob.p(w - 30, y, 6), ob.p(w - 30, y, d - 6),
                     ob.p(10, y, d - 6)], fill=ob.t["paper"], outline=ob.t["paper_edge"])


def draw_front_buttons(ob, w, y, small):
    x0 = w - 26
    ob.rect(x0, w - 4, y - 10, y - 4, "panel_front", outline=True)
    ob.rect(x0 + 2, x0 + 11, y - 8, y - 6, "lcd")
    ob.rect(w - 8, w - 7, y - 8, y - 7, "led")
    ob.rect(x0 + 14, x0 + 15, y - 8, y - 7, "key_button")


# ---- Badges ---------------------------------------------------------------

def _triangle_points(box, inset):
    x0, y0, x1, y1 = box
    return [((x0 + x1) / 2, y0 + inset * 1.25),
            (x1 - inset * 1.1, y1 - inset),
            (x0 + inset * 1.1, y1 - inset)]


def _rounded_polygon(draw, points, radius, fill):
    draw.polygon(points, fill=fill)
    if radius > 0:
        draw.line(points + [points[0]], fill=fill, width=int(radius * 2), joint="curve")
        for x, y in points:
            draw.ellipse([x - radius, y - radius, x + radius, y + radius], fill=fill)


def draw_warning(draw, box, scale, edge, fill, mark):
    """A warning triangle with rounded corners and an exclamation mark,
    filling `box` (x0, y0, x1, y1, in pixels) at `scale`."""
    x0, y0, x1, y1 = [v * scale for v in box]
    height = y1 - y0
    corner = height * 0.07
    outer = _triangle_points((x0, y0, x1, y1), corner)
    _rounded_polygon(draw, outer, corner, edge)
    rim = max(height * 0.075, 1.2 * scale)
    inner = _triangle_points((x0, y0, x1, y1), corner + rim * 1.45)
    _rounded_polygon(draw, inner, corner * 0.6, fill)
    cx = (x0 + x1) / 2
    bar = max(height * 0.13, 2.0 * scale)
    top = y0 + height * 0.36
    bottom = y0 + height * 0.70
    draw.polygon([(cx - bar / 2, top), (cx + bar / 2, top),
                  (cx + bar * 0.32, bottom), (cx - bar * 0.32, bottom)], fill=mark)
    draw.ellipse([cx - bar / 2, top - bar / 2, cx + bar / 2, top + bar / 2], fill=mark)
    dot = max(bar * 0.58, 1.1 * scale)
    dot_y = y0 + height * 0.80
    draw.ellipse([cx - dot, dot_y - dot, cx + dot, dot_y + dot], fill=mark)


def draw_error(draw, box, scale, rim, fill, cross, shine=None):
    """A disc with a rim and a white diagonal cross, filling `box`."""
    x0, y0, x1, y1 = [v * scale for v in box]
    size = x1 - x0
    draw.ellipse([x0, y0, x1, y1], fill=rim)
    r = max(size * 0.065, 1.2 * scale)
    draw.ellipse([x0 + r, y0 + r, x1 - r, y1 - r], fill=fill)
    if shine is not None:
        # a soft highlight in the upper left of the disc
        s = size * 0.16
        draw.ellipse([x0 + s, y0 + s * 0.8, x1 - s * 2.2, y0 + size * 0.46], fill=shine)
        draw.ellipse([x0 + s * 0.85, y0 + s * 1.15, x1 - s * 1.6, y0 + size * 0.6], fill=fill)
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    arm = size * 0.21
    width = size * 0.15
    for dx in (arm, -arm):
        draw.line([(cx - dx, cy - arm), (cx + dx, cy + arm)], fill=cross, width=int(width))
        for ex, ey in ((cx - dx, cy - arm), (cx + dx, cy + arm)):
            draw.ellipse([ex - width / 2, ey - width / 2, ex + width / 2, ey + width / 2],
                         fill=cross)


# ---- Pictures --------------------------------------------------------------

def supersampled_layer(size, paint):
    """Paints at SUPERSAMPLE times the size and reduces: returns the
    premultiplied colour and the coverage of every pixel."""
    w, h = size
    big = Image.new("RGBA", (w * SUPERSAMPLE, h * SUPERSAMPLE), CLEAR)
    paint(ImageDraw.Draw(big), SUPERSAMPLE)
    r, g, b, a = big.split()
    premult = [Image.composite(c, Image.new("L", big.size, 0), a) for c in (r, g, b)]
    small = [c.reduce(SUPERSAMPLE) for c in premult]
    cover = a.reduce(SUPERSAMPLE)
    return small, cover


def lay_over(base, paint):
    """Lays a supersampled badge over the picture `base` (RGBA, alpha 0 or
    255).  Over the device the badge blends; over the background it is
    either drawn solid or not at all."""
    (r, g, b), cover = supersampled_layer(base.size, paint)
    px = base.load()
    rp, gp, bp, ap = r.load(), g.load(), b.load(), cover.load()
    for y in range(base.size[1]):
        for x in range(base.size[0]):
            a = ap[x, y]
            if a == 0:
                continue
            dr, dg, db, da = px[x, y]
            if da == 255:
                k = 255 - a
                px[x, y] = (min(255, rp[x, y] + (dr * k + 127) // 255),
                            min(255, gp[x, y] + (dg * k + 127) // 255),
                            min(255, bp[x, y] + (db * k + 127) // 255), 255)
            elif a >= 128:
                px[x, y] = (min(255, (rp[x, y] * 255 + a // 2) // a),
                            min(255, (gp[x, y] * 255 + a // 2) // a),
                            min(255, (bp[x, y] * 255 + a // 2) // a), 255)


def device_picture(size, model, state):
    """One device picture: RGBA, background fully transparent."""
    w, h = size
    img = Image.new("RGBA", size, CLEAR)
    draw = ImageDraw.Draw(img)
    extent_x = model["width"] + model["depth"]
    origin_x = (w - extent_x) // 2 - 1
    draw_device(draw, model, origin_x, h - 4, PICTURE_THEME)
    badge = min(w, h) * 0.40
    box = (w - badge - 2, h - badge * 0.92 - 2, w - 2, h - 2)
    if state == "warning":
        lay_over(img, lambda d, s: draw_warning(d, box, s, WARNING_EDGE, WARNING_YELLOW,
                                                 WARNING_EDGE))
    elif state == "error":
        disc = (w - badge - 2, h - badge - 2, w - 2, h - 2)
        lay_over(img, lambda d, s: draw_error(d, disc, s, ERROR_RIM, ERROR_RED,
                                               (255, 255, 255), ERROR_SHINE))
    return img


# ---- Logo banners -----------------------------------------------------------

LOGO_NAME = (26, 58, 112)
LOGO_SUBTITLE = (54, 58, 66)
INK_BARS = [(0, 150, 214), (214, 0, 122), (250, 196, 0), (44, 46, 52)]
INK_EDGE = (40, 42, 48)


def logo_banner(size, subtitle, name_top, subtitle_top):
    """The name in bold over the subtitle, after a small ink-level mark."""
    w, h = size
    img = Image.new("RGBA", size, CLEAR)
    px = img.load()
    draw = ImageDraw.Draw(img)
    bottom = subtitle_top + lettering.SMALL_ROWS - 1
    top = name_top
    span = bottom - top
    for i, colour in enumerate(INK_BARS):
        x0 = 3 + i * 5
        bar_top = bottom - int(span * (0.45 + 0.18 * i))
        draw.rectangle([x0, bar_top, x0 + 4, bottom], fill=INK_EDGE)
        draw.rectangle([x0 + 1, bar_top + 1, x0 + 3, bottom - 1], fill=colour)
    text_x = 3 + len(INK_BARS) * 5 + 5
    lettering.draw_text(px, lettering.BOLD, "lumeview", text_x, name_top, LOGO_NAME, 2)
    lettering.draw_text(px, lettering.SMALL, subtitle, text_x + 1, subtitle_top,
                        LOGO_SUBTITLE, 1)
    return img


# ---- Icons -----------------------------------------------------------------

def threshold_shape(size, paint):
    """Coverage of a shape painted at SUPERSAMPLE scale, cut at one half:
    a clean aliased shape with the exact geometry."""
    w, h = size
    big = Image.new("L", (w * SUPERSAMPLE, h * SUPERSAMPLE), 0)
    paint(ImageDraw.Draw(big), SUPERSAMPLE)
    small = big.reduce(SUPERSAMPLE)
    return small.point(lambda v: 255 if v >= 128 else 0)


def stamp(img, size, paint_layers):
    """Paints each (colour, painter) layer of a badge, thresholded."""
    px = img.load()
    for colour, painter in paint_layers:
        mask = threshold_shape(size, painter).load()
        for y in range(size[1]):
            for x in range(size[0]):
                if mask[x, y]:
                    px[x, y] = colour + (255,)


def icon_warning_layers(box):
    def edge(d, s):
        draw_warning(d, box, s, 255, 0, 0)

    def fill(d, s):
        # the yellow inside of the same triangle
        x0, y0, x1, y1 = [v * s for v in box]
        height = y1 - y0
        corner = height * 0.07
        rim = max(height * 0.075, 1.2 * s)
        inner = _triangle_points((x0, y0, x1, y1), corner + rim * 1.45)
        _rounded_polygon(d, inner, corner * 0.6, 255)

    def mark(d, s):
        draw_warning(d, box, s, 0, 0, 255)

    return [(BLACK, edge), (YELLOW, fill), (BLACK, mark)]


def icon_error_layers(box):
    def rim(d, s):
        draw_error(d, box, s, 255, 255, 255)

    def fill(d, s):
        draw_error(d, box, s, 0, 255, 0)

    def cross(d, s):
        draw_error(d, box, s, 0, 0, 255)

    return [(MAROON, rim), (RED, fill), (WHITE, cross)]


def small_warning(img, left, top):
    """The 18 x 17 warning triangle of the window icon, set pixel by pixel:
    at this size a reduced drawing loses the exclamation mark."""
    px = img.load()
    for r in range(17):
        x0, x1 = 8 - r // 2, 9 + r // 2
        for x in range(x0, x1 + 1):
            edge = r < 2 or r == 16 or x <= x0 or x >= x1
            mark = x in (8, 9) and (5 <= r <= 11 or 13 <= r <= 14)
            px[left + x, top + r] = (BLACK if edge or mark else YELLOW) + (255,)


def icon_image(content):
    """A 32 x 32 icon as RGBA in the sixteen icon colours."""
    size = (32, 32)
    img = Image.new("RGBA", size, CLEAR)
    if content in ("device", "device_warning", "device_error"):
        draw_device(ImageDraw.Draw(img), ICON_MODEL, 1, 29, ICON_THEME)
    if content == "device_warning":
        small_warning(img, 14, 15)
    elif content == "device_error":
        stamp(img, size, icon_error_layers((15.5, 15.5, 32, 32)))
    elif content == "warning":
        stamp(img, size, icon_warning_layers((0, 1.5, 32, 30.5)))
    elif content == "error":
        stamp(img, size, icon_error_layers((1, 1, 31, 31)))
    return img
