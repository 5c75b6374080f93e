#!/usr/bin/env python3
"""Draws the program's pictures and cursors into resources/ (run by hand, output kept).

Python standard library only: the PNGs are written with zlib and struct. The icon and
the button pictures are palette images (at most 256 colours); the cursors carry alpha.
Pass --preview DIR to also write each picture scaled up eight times for looking at.
"""
import math
import struct
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent / "resources"

CLEAR = (0, 0, 0, 0)
# The button pictures' background: the program makes the bottom-left pixel's colour
# transparent, so this colour must appear nowhere in a drawing.
KEY = (255, 0, 255, 255)
INK = (16, 14, 20, 255)


def rgb(r, g, b):
    return (r, g, b, 255)


# ---- PNG -----------------------------------------------------------------------------

def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def write_png(path, pixels, palette_mode):
    h, w = len(pixels), len(pixels[0])
    out = [b"\x89PNG\r\n\x1a\n"]
    if palette_mode:
        colours = sorted({p for row in pixels for p in row}, key=lambda c: (-c[3], c))
        assert len(colours) <= 256, f"{path}: {len(colours)} colours"
        index = {c: i for i, c in enumerate(colours)}
        out.append(_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 3, 0, 0, 0)))
        out.append(_chunk(b"PLTE", b"".join(bytes(c[:3]) for c in colours)))
        alphas = [c[3] for c in colours]
        if min(alphas) < 255:
            # Opaque entries come first, so the table can stop at the last translucent one.
            last = max(i for i, a in enumerate(alphas) if a < 255)
            out.append(_chunk(b"tRNS", bytes(alphas[: last + 1])))
        raw = b"".join(b"\0" + bytes(index[p] for p in row) for row in pixels)
    else:
        out.append(_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)))
        raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in pixels)
    out.append(_chunk(b"IDAT", zlib.compress(raw, 9)))
    out.append(_chunk(b"IEND", b""))
    path.write_bytes(b"".join(out))


def write_preview(path, pixels, scale=8):
    # Checkerboard behind transparency, so clear pixels are visible.
    big = []
    for y, row in enumerate(pixels):
        line = []
        for x, (r, g, b, a) in enumerate(row):
            for sx in range(scale):
                line.append((r, g, b, a))
        for sy in range(scale):
            out = []
            for i, (r, g, b, a) in enumerate(line):
                ground = 200 if ((i // 4) + ((y * scale + sy) // 4)) % 2 else 160
                f = a / 255
                out.append((round(r * f + ground * (1 - f)), round(g * f + ground * (1 - f)),
                            round(b * f + ground * (1 - f)), 255))
            big.append(out)
    write_png(path, big, palette_mode=False)


# ---- drawing -------------------------------------------------------------------------

class Canvas:
    def __init__(self, w, h, ground):
        self.w, self.h = w, h
        self.px = [[ground] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def shape(self, inside, fill, outline=INK):
        """Paints the pixels whose centres satisfy inside(x, y); fill(x, y) gives the
        colour, and the shape's own edge pixels are drawn in the outline colour."""
        mask = {(x, y) for y in range(self.h) for x in range(self.w) if inside(x + 0.5, y + 0.5)}
        for (x, y) in mask:
            edge = any((x + dx, y + dy) not in mask
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            self.put(x, y, outline if edge and outline else fill(x, y))
        return mask

    def art(self, rows, legend, x0=0, y0=0):
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch in legend:
                    self.put(x0 + x, y0 + y, legend[ch])


def polygon(points):
    def inside(x, y):
        hit = False
        for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                hit = not hit
        return hit
    return inside


# ---- the pictures --------------------------------------------------------------------

# The emblem's design, in the 32 x 32 icon's pixel units (a pixel (x, y) covers
# [x, x + 1) x [y, y + 1)). tools/make-icons.py draws the same design as a vector
# picture and at every size of the desktop's icon theme.
EMBLEM = {
    "slate": (2, 13, 27, 30),  # left, top, right, bottom
    "slate_band": 15,  # the slate is lighter above this line
    "chalk": [(5, 18, 17, 20), (12, 24, 25, 26)],  # the two title lines
    "bar": (2, 9, 27, 13),  # the clapper's fixed bar
    "hinge": (2.0, 9.2),  # the arm's hinge, its angle upwards, length and depth
    "arm_angle": -22.0,
    "arm_length": 26.0,
    "arm_depth": 4.2,
    "stripe": 4,  # width of one stripe; light and dark alternate
    "pin": (3, 9),  # the hinge pin's pixel
    "nib": (17.5, 19.5),  # the quill from the nib's point to the feather's end
    "quill_top": (30.5, 1.0),
    "drop": (17, 20),  # a fresh drop of ink at the nib
}
EMBLEM_COLOURS = {
    "slate": rgb(52, 58, 76), "slate_band": rgb(70, 78, 100), "chalk": rgb(250, 250, 244),
    "stripe_light": rgb(250, 250, 244), "stripe_dark": rgb(28, 28, 34),
    "pin": rgb(190, 190, 200), "feather": rgb(252, 248, 232),
    "feather_shade": rgb(214, 204, 180), "gold": rgb(236, 184, 44),
    "gold_dark": rgb(168, 112, 20), "shaft": rgb(190, 150, 70), "ink": INK,
}


def quill_width(t):
    """Half the quill's width at t, 0 at the nib's point and 1 at the feather's end."""
    if t < 0 or t > 1:
        return -1
    if t < 0.22:  # the nib: a narrow point widening to the shaft
        return 0.4 + 1.2 * t / 0.22
    if t < 0.34:  # bare shaft below the vane
        return 1.3
    # vane: swells, then tapers to a rounded end
    s = (t - 0.34) / 0.66
    return 1.3 + 3.8 * math.sin(math.pi * min(1.0, s * 1.05)) ** 0.8


def quill_part(t, s):
    """Which colour of the quill lies at t along it and s across it (s < 0 is the lit
    side)."""
    if t < 0.22:
        return "gold" if s < 0.3 else "gold_dark"
    if abs(s) < 0.55 and t < 0.93:
        return "shaft"
    return "feather" if s < 0 else "feather_shade"


def stripe_is_light(a, b):
    return math.floor((a + b) / EMBLEM["stripe"]) % 2 == 0


def draw_icon():
    """The emblem: a film clapperboard with its arm open, two title lines written on the
    slate (the first flush left, the second flush right) and a quill writing them."""
    e, col = EMBLEM, EMBLEM_COLOURS
    c = Canvas(32, 32, CLEAR)
    left, top, right, bottom = e["slate"]
    c.shape(polygon([(left, top), (right, top), (right, bottom), (left, bottom)]),
            lambda x, y: col["slate_band"] if y < e["slate_band"] else col["slate"])
    # The title lines the quill is writing.
    for (x0, y0, x1, y1) in e["chalk"]:
        for y in range(y0, y1):
            for x in range(x0, x1):
                c.put(x, y, col["chalk"])

    def stripes(a, b):
        return col["stripe_light"] if stripe_is_light(a, b) else col["stripe_dark"]

    # Fixed bar of the clapper, just above the slate.
    left, top, right, bottom = e["bar"]
    c.shape(polygon([(left, top), (right, top), (right, bottom), (left, bottom)]),
            lambda x, y: stripes(x, -y))
    # The arm, hinged at the left and opened upwards.
    (hx, hy), ang = e["hinge"], math.radians(e["arm_angle"])
    length, depth = e["arm_length"], e["arm_depth"]
    ux, uy = math.cos(ang), math.sin(ang)
    nx, ny = -uy, ux  # towards the slate

    def arm_coords(x, y):
        dx, dy = x - hx, y - hy
        return dx * ux + dy * uy, dx * nx + dy * ny

    c.shape(lambda x, y: 0 <= arm_coords(x, y)[0] <= length
            and -depth <= arm_coords(x, y)[1] <= 0,
            lambda x, y: stripes(arm_coords(x + 0.5, y + 0.5)[0],
                                 arm_coords(x + 0.5, y + 0.5)[1]))
    c.put(*e["pin"], col["pin"])

    # The quill: nib at the end of line 1, feather rising to the top right.
    nib, tip = e["nib"], e["quill_top"]
    ax, ay = tip[0] - nib[0], tip[1] - nib[1]
    qlen = math.hypot(ax, ay)
    qx, qy = ax / qlen, ay / qlen
    px_, py_ = -qy, qx

    def quill_coords(x, y):
        dx, dy = x - nib[0], y - nib[1]
        return (dx * qx + dy * qy) / qlen, dx * px_ + dy * py_

    c.shape(lambda x, y: abs(quill_coords(x, y)[1]) <= quill_width(quill_coords(x, y)[0]),
            lambda x, y: col[quill_part(*quill_coords(x + 0.5, y + 0.5))])
    c.put(*e["drop"], col["ink"])
    return c.px


DIE = [
    "...KKKKKKKKKKKK.",
    "..KLLLLLRRLLLKK.",
    ".KLLLLLLLLLLKSK.",
    "KKKKKKKKKKKKSSK.",
    "KWWWWWWWWWWKSSK.",
    "KWBBWWWWBBWKSSK.",
    "KWBBWWWWBBWKSSK.",
    "KWWWWWWWWWWKSSK.",
    "KWWWWBBWWWWKSSK.",
    "KWWWWBBWWWWKSSK.",
    "KWWWWWWWWWWKSSK.",
    "KWBBWWWWBBWKSK..",
    "KWBBWWWWBBWKK...",
    "KWWWWWWWWWWK....",
    "KKKKKKKKKKKK....",
    "................",
]


def draw_die():
    c = Canvas(16, 16, KEY)
    c.art(DIE, {"K": INK, "W": rgb(252, 252, 248), "L": rgb(222, 222, 226),
                "S": rgb(150, 152, 166), "B": rgb(24, 24, 30), "R": rgb(214, 36, 48)})
    return c.px


ERASER = [
    "................",
    "................",
    "................",
    "...KKKKKKKKKKKK.",
    "..KppTTTTTTTTKK.",
    ".KppTTTTTTTTKSK.",
    "KKKKKKKKKKKKSSK.",
    "KPPPKBBBBBBKSSK.",
    "KPPPKBBBBBBKSSK.",
    "KPPPKWWWWWWKSSK.",
    "KPPPKBBBBBBKSK..",
    "KPPPKBBBBBBKK...",
    "KKKKKKKKKKKK....",
    "................",
    "..p.p...........",
    "................",
]


def draw_eraser():
    c = Canvas(16, 16, KEY)
    c.art(ERASER, {"K": INK, "P": rgb(240, 138, 160), "p": rgb(255, 192, 204),
                   "T": rgb(96, 148, 232), "B": rgb(40, 92, 200), "W": rgb(250, 250, 250),
                   "S": rgb(24, 54, 140)})
    return c.px


def draw_pencil():
    """A pencil lying from bottom left (point) to top right (eraser end)."""
    c = Canvas(16, 16, KEY)
    x0, y0 = 1.0, 15.0
    ux, uy = 1 / math.sqrt(2), -1 / math.sqrt(2)
    vx, vy = 1 / math.sqrt(2), 1 / math.sqrt(2)
    length = 19.6
    half = 2.3

    def coords(x, y):
        dx, dy = x - x0, y - y0
        return dx * ux + dy * uy, dx * vx + dy * vy

    def width(t):
        if t < 0 or t > length:
            return -1
        if t < 5.0:  # sharpened cone
            return 0.35 + (half - 0.35) * t / 5.0
        return half

    lead, wood = rgb(56, 56, 64), rgb(236, 196, 140)
    body = (rgb(255, 214, 40), rgb(240, 170, 20), rgb(190, 120, 10))
    metal, metal_dark = rgb(210, 214, 222), rgb(140, 146, 160)
    rubber = rgb(240, 128, 150)

    def fill(x, y):
        t, s = coords(x + 0.5, y + 0.5)
        if t < 2.0:
            return lead
        if t < 5.0:
            return wood
        if t < 15.2:
            return body[0] if s < -0.8 else body[1] if s < 0.8 else body[2]
        if t < 17.0:
            return metal if (int(t * 2) % 2 == 0) else metal_dark
        return rubber

    c.shape(lambda x, y: abs(coords(x, y)[1]) <= width(coords(x, y)[0]), fill)
    return c.px


def draw_bullet_cursor():
    """A brass bullet, rounded tip to the left at (0, 5), in a clear 32 x 32 image."""
    c = Canvas(32, 32, CLEAR)
    # Rows covered by each column: a pointed-round nose, then a straight body.
    spans = {0: (5, 5), 1: (4, 6), 2: (3, 7), 3: (2, 8), 4: (2, 8)}
    mask = set()
    for x in range(16):
        top, bottom = spans.get(x, (1, 9))
        mask |= {(x, y) for y in range(top, bottom + 1)}
    shades = {2: rgb(255, 240, 170), 3: rgb(242, 208, 110), 4: rgb(222, 180, 72),
              5: rgb(206, 160, 56), 6: rgb(184, 138, 44), 7: rgb(150, 108, 32),
              8: rgb(118, 82, 24)}
    for (x, y) in mask:
        edge = any((x + dx, y + dy) not in mask for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
        colour = INK if edge else shades[y]
        if not edge and x == 12:  # the groove near the base
            colour = rgb(120, 84, 26)
        c.put(x, y, colour)
    # A glint on the nose.
    c.put(3, 3, rgb(255, 252, 230))
    c.put(4, 3, rgb(255, 252, 230))
    return c.px


def main():
    preview = None
    if len(sys.argv) == 3 and sys.argv[1] == "--preview":
        preview = Path(sys.argv[2])
        preview.mkdir(parents=True, exist_ok=True)
    pictures = [
        ("pictures/icon.png", draw_icon(), True),
        ("pictures/dice.png", draw_die(), True),
        ("pictures/eraser.png", draw_eraser(), True),
        ("pictures/pencil.png", draw_pencil(), True),
        ("cursors/CURSOR_1.png", draw_bullet_cursor(), False),
        ("cursors/CURSOR_2.png", [[CLEAR] * 32 for _ in range(32)], False),
    ]
    for name, px, palette in pictures:
        if palette and name != "pictures/icon.png":
            # The key colour may only be the ground; a drawing pixel of that colour
            # would vanish too.
            assert px[-1][0] == KEY, name
        write_png(ROOT / name, px, palette)
        if preview:
            write_preview(preview / Path(name).name, px)
        print(name)


if __name__ == "__main__":
    main()
