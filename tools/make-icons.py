#!/usr/bin/env python3
"""Draws the program's icon for the desktop's icon theme into packaging/icons/ (run by
hand, output kept): a scalable SVG and PNGs from 16 to 256 pixels.

The design is the emblem of resources/pictures/icon.png: its geometry and colours come
from tools/draw-pictures.py, here turned into polygons that are written out as SVG and
filled by a small anti-aliasing rasteriser for each PNG. Python standard library only.
Pass --preview DIR to also write every size side by side, enlarged, for looking at.
"""
import importlib.util
import math
import sys
from pathlib import Path

TOOLS = Path(__file__).resolve().parent
OUT = TOOLS.parent / "packaging" / "icons" / "hicolor"
NAME = "org.quillon.Quillon"
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SAMPLES = 4  # per pixel and axis


def _load_pictures():
    found = importlib.util.spec_from_file_location("draw_pictures", TOOLS / "draw-pictures.py")
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


pictures = _load_pictures()
E, COL = pictures.EMBLEM, pictures.EMBLEM_COLOURS


# ---- the design as polygons ------------------------------------------------------------

def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def disk(cx, cy, r, steps=16):
    return [(cx + r * math.cos(2 * math.pi * i / steps), cy + r * math.sin(2 * math.pi * i / steps))
            for i in range(steps)]


def frame(origin, u, v):
    """Maps (a, b) to origin + a * u + b * v."""
    return lambda a, b: (origin[0] + a * u[0] + b * v[0], origin[1] + a * u[1] + b * v[1])


def stripe_bands(to_xy, extent):
    """The dark stripes of a striped part as polygons: bands where (a + b) lies in
    [w, 2w) modulo 2w, in the part's own coordinates, long enough to cover extent."""
    w = E["stripe"]
    bands = []
    for k in range(-int(extent / w) - 2, int(extent / w) + 3):
        lo, hi = (2 * k + 1) * w, (2 * k + 2) * w
        # Lines a + b = lo and a + b = hi, from b = -extent to b = extent.
        bands.append([to_xy(lo + extent, -extent), to_xy(hi + extent, -extent),
                      to_xy(hi - extent, extent), to_xy(lo - extent, extent)])
    return bands


def quill_geometry():
    nib, top = E["nib"], E["quill_top"]
    ax, ay = top[0] - nib[0], top[1] - nib[1]
    length = math.hypot(ax, ay)
    along = (ax / length, ay / length)
    across = (-along[1], along[0])
    # (t, s): t from 0 at the nib to 1 at the feather's end, s across in pixel units.
    to_xy = frame(nib, (along[0] * length, along[1] * length), across)
    ts = [i / 200 for i in range(201)]
    left = [to_xy(t, -pictures.quill_width(t)) for t in ts]
    right = [to_xy(t, pictures.quill_width(t)) for t in reversed(ts)]
    return to_xy, left + right


def emblem_layers():
    """The drawing, bottom first: ("fill", polygon, colour, clip polygon or None) and
    ("stroke", polygon, colour)."""
    ink = COL["ink"]
    layers = []
    slate = rect(*E["slate"])
    x0, y0, x1, _ = E["slate"]
    layers += [("fill", slate, COL["slate"], None),
               ("fill", rect(x0, y0, x1, E["slate_band"]), COL["slate_band"], None)]
    layers += [("fill", rect(*c), COL["chalk"], None) for c in E["chalk"]]
    layers.append(("stroke", slate, ink))

    # The bar's stripes run along x - y, the arm's along its own a + b.
    bar = rect(*E["bar"])
    layers.append(("fill", bar, COL["stripe_light"], None))
    layers += [("fill", band, COL["stripe_dark"], bar)
               for band in stripe_bands(lambda a, b: (a, -b), 40)]
    layers.append(("stroke", bar, ink))

    angle = math.radians(E["arm_angle"])
    u = (math.cos(angle), math.sin(angle))
    arm_xy = frame(E["hinge"], u, (-u[1], u[0]))
    arm = [arm_xy(0, 0), arm_xy(E["arm_length"], 0), arm_xy(E["arm_length"], -E["arm_depth"]),
           arm_xy(0, -E["arm_depth"])]
    layers.append(("fill", arm, COL["stripe_light"], None))
    layers += [("fill", band, COL["stripe_dark"], arm) for band in stripe_bands(arm_xy, 40)]
    layers.append(("stroke", arm, ink))
    px, py = E["pin"]
    layers.append(("fill", disk(px + 0.5, py + 0.5, 0.55), COL["pin"], None))

    to_xy, quill = quill_geometry()

    def part(t0, t1, s0, s1):
        return [to_xy(t0, s0), to_xy(t1, s0), to_xy(t1, s1), to_xy(t0, s1)]

    layers += [("fill", quill, COL["feather"], None),
               ("fill", part(0.22, 1.1, 0, 9), COL["feather_shade"], quill),
               ("fill", part(-0.1, 0.22, -9, 0.3), COL["gold"], quill),
               ("fill", part(-0.1, 0.22, 0.3, 9), COL["gold_dark"], quill),
               ("fill", part(0.22, 0.93, -0.55, 0.55), COL["shaft"], quill),
               ("stroke", quill, ink)]
    dx, dy = E["drop"]
    layers.append(("fill", disk(dx + 0.5, dy + 0.5, 0.6), ink, None))
    return layers


# ---- SVG -------------------------------------------------------------------------------

def _points(poly):
    return " ".join(f"{x:.3f},{y:.3f}" for x, y in poly)


def _hex(c):
    return "#%02x%02x%02x" % c[:3]


def svg(layers, stroke_width=1.0):
    clips, body = {}, []
    for layer in layers:
        if layer[0] == "stroke":
            _, poly, colour = layer
            body.append(f'  <polygon points="{_points(poly)}" fill="none" stroke="{_hex(colour)}" '
                        f'stroke-width="{stroke_width}" stroke-linejoin="round"/>')
            continue
        _, poly, colour, clip = layer
        attr = ""
        if clip is not None:
            key = _points(clip)
            if key not in clips:
                clips[key] = f"c{len(clips)}"
            attr = f' clip-path="url(#{clips[key]})"'
        body.append(f'  <polygon points="{_points(poly)}" fill="{_hex(colour)}"{attr}/>')
    defs = [f'    <clipPath id="{name}"><polygon points="{key}"/></clipPath>'
            for key, name in clips.items()]
    return "\n".join(['<?xml version="1.0" encoding="UTF-8"?>',
                      '<!-- Drawn by tools/make-icons.py; edit the design there. -->',
                      '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
                      'viewBox="0 0 32 32">',
                      "  <defs>", *defs, "  </defs>", *body, "</svg>", ""])


# ---- rasteriser ------------------------------------------------------------------------

def spans(poly, y):
    """The [x0, x1) runs of a row at height y inside poly (even-odd)."""
    xs = []
    for (x1, y1), (x2, y2) in zip(poly, poly[1:] + poly[:1]):
        if (y1 > y) != (y2 > y):
            xs.append(x1 + (y - y1) * (x2 - x1) / (y2 - y1))
    xs.sort()
    return list(zip(xs[0::2], xs[1::2]))


def clip_runs(runs, clip):
    out = []
    for a0, a1 in runs:
        for b0, b1 in clip:
            lo, hi = max(a0, b0), min(a1, b1)
            if lo < hi:
                out.append((lo, hi))
    return out


def stroke_pieces(poly, width):
    """A closed outline of the given width as convex pieces: a quad along every edge and
    a round join at every corner."""
    half = width / 2
    pieces = []
    for (x1, y1), (x2, y2) in zip(poly, poly[1:] + poly[:1]):
        length = math.hypot(x2 - x1, y2 - y1)
        if length == 0:
            continue
        nx, ny = -(y2 - y1) / length * half, (x2 - x1) / length * half
        pieces.append([(x1 + nx, y1 + ny), (x2 + nx, y2 + ny), (x2 - nx, y2 - ny),
                       (x1 - nx, y1 - ny)])
    # Joins only where the outline turns: the quill's dense edge needs none between.
    for i, (x, y) in enumerate(poly):
        (ax, ay), (bx, by) = poly[i - 1], poly[(i + 1) % len(poly)]
        turn = abs(math.atan2((x - ax) * (by - y) - (y - ay) * (bx - x),
                              (x - ax) * (bx - x) + (y - ay) * (by - y)))
        if turn > 0.3:
            pieces.append(disk(x, y, half, 12))
    return pieces


def rasterise(layers, size):
    n = size * SAMPLES
    scale = n / 32
    stroke = max(1.0, 32 / size * 0.75)  # at least three quarters of a pixel when small
    colours = [(0, 0, 0, 0)]
    grid = [bytearray(n) for _ in range(n)]

    def paint(poly, colour, clip):
        if colour not in colours:
            colours.append(colour)
        index = bytes([colours.index(colour)])
        poly = [(x * scale, y * scale) for x, y in poly]
        clip = [(x * scale, y * scale) for x, y in clip] if clip else None
        ys = [y for _, y in poly]
        for row in range(max(0, int(min(ys))), min(n, int(max(ys)) + 1)):
            runs = spans(poly, row + 0.5)
            if clip:
                runs = clip_runs(runs, spans(clip, row + 0.5))
            line = grid[row]
            for x0, x1 in runs:
                a, b = max(0, math.ceil(x0 - 0.5)), min(n, math.ceil(x1 - 0.5))
                if a < b:
                    line[a:b] = index * (b - a)

    for layer in layers:
        if layer[0] == "stroke":
            for piece in stroke_pieces(layer[1], stroke):
                paint(piece, layer[2], None)
        else:
            paint(*layer[1:])

    pixels = []
    area = SAMPLES * SAMPLES
    for py in range(size):
        rows = grid[py * SAMPLES:(py + 1) * SAMPLES]
        out = []
        for px in range(size):
            r = g = b = a = 0
            for line in rows:
                for i in line[px * SAMPLES:(px + 1) * SAMPLES]:
                    cr, cg, cb, ca = colours[i]
                    r, g, b, a = r + cr * ca, g + cg * ca, b + cb * ca, a + ca
            if a == 0:
                out.append((0, 0, 0, 0))
            else:
                out.append((round(r / a), round(g / a), round(b / a), round(a / area)))
        pixels.append(out)
    return pixels


def preview(images, path):
    """Every size on one light strip, each enlarged to 256 pixels."""
    height = 256
    strip = [[(236, 236, 236, 255)] * (height * len(images)) for _ in range(height)]
    for k, px in enumerate(images):
        size = len(px)
        for y in range(height):
            for x in range(height):
                r, g, b, a = px[y * size // height][x * size // height]
                f = a / 255
                strip[y][k * height + x] = (round(r * f + 236 * (1 - f)), round(g * f + 236 * (1 - f)),
                                            round(b * f + 236 * (1 - f)), 255)
    pictures.write_png(path, strip, palette_mode=False)


def main():
    layers = emblem_layers()
    scalable = OUT / "scalable" / "apps" / f"{NAME}.svg"
    scalable.parent.mkdir(parents=True, exist_ok=True)
    scalable.write_text(svg(layers))
    print(scalable.relative_to(OUT.parent.parent.parent))
    images = []
    for size in SIZES:
        path = OUT / f"{size}x{size}" / "apps" / f"{NAME}.png"
        path.parent.mkdir(parents=True, exist_ok=True)
        images.append(rasterise(layers, size))
        pictures.write_png(path, images[-1], palette_mode=False)
        print(path.relative_to(OUT.parent.parent.parent))
    if len(sys.argv) == 3 and sys.argv[1] == "--preview":
        Path(sys.argv[2]).mkdir(parents=True, exist_ok=True)
        preview(images, Path(sys.argv[2]) / "icons.png")


if __name__ == "__main__":
    main()
