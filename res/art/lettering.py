"""Pixel lettering for the logo banners.

Two hand-drawn faces: a bold one for the product name (x-height 9,
ascender 12, strokes 2 pixels wide) and a regular one for the subtitle
(x-height 5, cap height 7).  Drawn pixel for pixel so that the letters
stay sharp against the banner's key colour, which must never be blended.
"""

# Each glyph: rows from the top of the ascender line down to the baseline,
# '#' = ink.  All rows of a glyph have the same width.
BOLD_ROWS = 12
BOLD = {
    "l": ["##"] * 12,
    "i": ["##", "##", ".."] + ["##"] * 9,
    "u": ["........"] * 3 + [
        "##....##",
        "##....##",
        "##....##",
        "##....##",
        "##....##",
        "##....##",
        "##...###",
        "##..####",
        ".####.##",
    ],
    "m": ["............"] * 3 + [
        "##.###.####.",
        "####.####.##",
        "###..###..##",
        "##...##...##",
        "##...##...##",
        "##...##...##",
        "##...##...##",
        "##...##...##",
        "##...##...##",
    ],
    "e": ["........"] * 3 + [
        "..####..",
        ".##..##.",
        "##....##",
        "##....##",
        "########",
        "##......",
        "##......",
        ".##...##",
        "..#####.",
    ],
    "v": ["........"] * 3 + [
        "##....##",
        "##....##",
        "##....##",
        ".##..##.",
        ".##..##.",
        ".##..##.",
        "..####..",
        "..####..",
        "...##...",
    ],
    "w": ["............"] * 3 + [
        "##...##...##",
        "##...##...##",
        "##..####..##",
        "##..####..##",
        ".##.#..#.##.",
        ".####..####.",
        ".####..####.",
        "..##....##..",
        "..##....##..",
    ],
}

SMALL_ROWS = 7
_X5 = ["....."] * 2
SMALL = {
    " ": ["..."] * 7,
    "'": ["#", "#", ".", ".", ".", ".", "."],
    "M": [
        "#.....#",
        "##...##",
        "#.#.#.#",
        "#..#..#",
        "#.....#",
        "#.....#",
        "#.....#",
    ],
    "S": [
        ".###.",
        "#...#",
        "#....",
        ".###.",
        "....#",
        "#...#",
        ".###.",
    ],
    "a": _X5 + [".###.", "....#", ".####", "#...#", ".####"],
    "d": ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    "e": _X5 + [".###.", "#...#", "#####", "#....", ".####"],
    "\u00e9": ["...#.", "..#..", ".###.", "#...#", "#####", "#....", ".####"],
    "i": ["#", ".", "#", "#", "#", "#", "#"],
    "n": _X5 + ["####.", "#...#", "#...#", "#...#", "#...#"],
    "o": _X5 + [".###.", "#...#", "#...#", "#...#", ".###."],
    "r": ["...."] * 2 + ["#.##", "##..", "#...", "#...", "#..."],
    "s": _X5 + [".####", "#....", ".###.", "....#", "####."],
    "t": [".#..", ".#..", "####", ".#..", ".#..", ".#..", "..##"],
    "u": _X5 + ["#...#", "#...#", "#...#", "#...#", ".####"],
}


def text_width(face, text, spacing):
    widths = [len(face[ch][0]) for ch in text]
    return sum(widths) + spacing * (len(widths) - 1)


def draw_text(pixels, face, text, x, y, colour, spacing):
    """Sets the ink pixels of `text` in the pixel access object `pixels`,
    with the top of the ascender line at row y."""
    for ch in text:
        rows = face[ch]
        for dy, row in enumerate(rows):
            for dx, cell in enumerate(row):
                if cell == "#":
                    pixels[x + dx, y + dy] = colour
        x += len(rows[0]) + spacing
    return x
