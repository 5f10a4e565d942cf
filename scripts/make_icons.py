#!/usr/bin/env python3
"""Draws the module's icons and writes them as resources/icons/<id>.png.

The pictograms are built from geometric shapes rather than painted by hand, so a
change of style is made here once and every icon follows it. Run the script
again after editing a drawing and keep the PNGs it writes: the build embeds
them. Only the standard library is used, so any machine with Python 3 can run it.

Usage: make_icons.py [output-directory]
"""

import math
import os
import struct
import sys
import zlib

SIZE = 32
# Coverage samples per pixel along each axis; 16 a pixel keep the edges smooth
# at 32x32 without the blur that drawing large and scaling down would add.
SAMPLES = 4
STROKE = 2.0

INK = (38, 46, 60)
WHITE = (255, 255, 255)
PAPER = (246, 247, 250)
BLUE = (52, 120, 220)
PALE_BLUE = (206, 224, 250)
RED = (222, 46, 46)
GREEN = (56, 168, 80)
YELLOW = (250, 200, 40)
ORANGE = (240, 140, 30)


# --- Shapes: predicates over canvas coordinates (x right, y down, 0..SIZE). ---

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= width / 2


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        nx = min(max(x, x0 + r), x1 - r)
        ny = min(max(y, y0 + r), y1 - r)
        return (x - nx) ** 2 + (y - ny) ** 2 <= r * r
    return inside


def rounded_rect_outline(x0, y0, x1, y1, r, width=STROKE):
    return minus(rounded_rect(x0, y0, x1, y1, r),
                 rounded_rect(x0 + width, y0 + width, x1 - width, y1 - width, max(r - width, 0)))


def polygon(points):
    def inside(x, y):
        hit = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return inside


def _distance_to_segment(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else min(max(((x - ax) * dx + (y - ay) * dy) / length2, 0.0), 1.0)
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def polyline(points, width=STROKE, closed=False):
    pairs = list(zip(points, points[1:] + (points[:1] if closed else [])))
    half = width / 2
    return lambda x, y: any(_distance_to_segment(x, y, ax, ay, bx, by) <= half
                            for (ax, ay), (bx, by) in pairs)


def line(ax, ay, bx, by, width=STROKE):
    return polyline([(ax, ay), (bx, by)], width)


def arc(cx, cy, r, width, start, sweep):
    """A stroked arc from angle start (degrees, clockwise on screen) over sweep degrees."""
    band = ring(cx, cy, r, width)

    def inside(x, y):
        if not band(x, y):
            return False
        angle = (math.degrees(math.atan2(y - cy, x - cx)) - start) % 360
        return angle <= sweep
    return inside


def star(cx, cy, outer, inner, points, turn=-90.0):
    corners = []
    for k in range(points * 2):
        radius = outer if k % 2 == 0 else inner
        angle = math.radians(turn + k * 180.0 / points)
        corners.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return corners


def either(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def both(a, b):
    return lambda x, y: a(x, y) and b(x, y)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


def lerp(a, b, t):
    return tuple(round(p + (q - p) * t) for p, q in zip(a, b))


# --- Canvas: premultiplied RGBA in 0..1, painted front to back with "over". ---

class Canvas:
    def __init__(self):
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(SIZE * SIZE)]
        self.offsets = [(i + 0.5) / SAMPLES for i in range(SAMPLES)]

    def fill(self, shape, colour, opacity=1.0):
        """Paints shape in colour, an (r, g, b) or a function of (x, y) giving one."""
        varying = callable(colour)
        for py in range(SIZE):
            for px in range(SIZE):
                hits = [(px + ox, py + oy) for oy in self.offsets for ox in self.offsets
                        if shape(px + ox, py + oy)]
                if hits:
                    rgb = self._average(colour, hits) if varying else colour
                    self._blend(self.pixels[py * SIZE + px], rgb, len(hits) / SAMPLES ** 2 * opacity)

    @staticmethod
    def _average(colour, points):
        samples = [colour(x, y) for x, y in points]
        return tuple(sum(s[c] for s in samples) / len(samples) for c in range(3))

    @staticmethod
    def _blend(pixel, rgb, coverage):
        keep = 1.0 - coverage
        for c in range(3):
            pixel[c] = rgb[c] / 255.0 * coverage + pixel[c] * keep
        pixel[3] = coverage + pixel[3] * keep

    def rgba(self):
        out = bytearray()
        for r, g, b, a in self.pixels:
            if a <= 0.0:
                out += b"\0\0\0\0"
            else:
                out += bytes(min(255, round(v / a * 255)) for v in (r, g, b)) + bytes([round(a * 255)])
        return bytes(out)


def png_bytes(width, height, rgba):
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))

    stride = width * 4
    # Filter type 0 on every row: the icons are tiny and need no better compression.
    raw = b"".join(b"\0" + rgba[y * stride:(y + 1) * stride] for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


# --- The pictograms. ---

def draw_flip(canvas, transpose):
    """Two mirrored triangles either side of a dashed axis; the vertical flip is the
    horizontal one with x and y exchanged."""
    def place(points):
        return [(y, x) if transpose else (x, y) for x, y in points]

    original = place([(12.5, 6), (12.5, 25), (2.5, 25)])
    mirrored = place([(19.5, 6), (19.5, 25), (29.5, 25)])
    canvas.fill(polygon(original), BLUE)
    canvas.fill(polyline(original, closed=True), INK)
    canvas.fill(polygon(mirrored), PAPER)
    canvas.fill(polyline(mirrored, closed=True, width=1.6), INK)
    for start in range(3, 30, 5):
        canvas.fill(polyline(place([(16, start), (16, start + 2)]), width=1.5), INK)


def draw_flip_horizontal(canvas):
    draw_flip(canvas, transpose=False)


def draw_flip_vertical(canvas):
    draw_flip(canvas, transpose=True)


def draw_invert(canvas):
    # A disc whose halves take the opposite tone of the square behind them.
    square = rounded_rect(3, 3, 29, 29, 3)
    left, right = (lambda x, y: x < 16), (lambda x, y: x >= 16)
    disc = circle(16, 16, 8)
    canvas.fill(both(square, left), INK)
    canvas.fill(both(square, right), WHITE)
    canvas.fill(both(disc, left), WHITE)
    canvas.fill(both(disc, right), INK)
    canvas.fill(rounded_rect_outline(3, 3, 29, 29, 3), INK)


def arrow_head(tip_x, tip_y, direction, size):
    dx, dy = direction
    length = math.hypot(dx, dy)
    dx, dy = dx / length, dy / length
    base_x, base_y = tip_x - dx * size, tip_y - dy * size
    return [(tip_x, tip_y), (base_x - dy * size * 0.8, base_y + dx * size * 0.8),
            (base_x + dy * size * 0.8, base_y - dx * size * 0.8)]


def draw_rotate(canvas):
    cx, cy, r = 16, 16.5, 10.5
    tilted = [(cx + 6 * math.cos(math.radians(a)), cy + 6 * math.sin(math.radians(a)))
              for a in (-70, 20, 110, 200)]
    canvas.fill(polygon(tilted), PALE_BLUE)
    canvas.fill(polyline(tilted, width=1.5, closed=True), INK)
    # A clockwise arc that leaves a gap at the upper left for its arrow head.
    start, sweep = -60.0, 255.0
    canvas.fill(arc(cx, cy, r, 3.0, start, sweep), BLUE)
    end = math.radians(start + sweep)
    tip_x = cx + r * math.cos(end) + 6.5 * -math.sin(end)
    tip_y = cy + r * math.sin(end) + 6.5 * math.cos(end)
    canvas.fill(polygon(arrow_head(tip_x, tip_y, (-math.sin(end), math.cos(end)), 7.0)), BLUE)


def draw_color_balance(canvas):
    # Additive primaries: where the discs overlap they mix to yellow, cyan, magenta, white.
    discs = [(circle(16, 10.5, 8.5), (255, 0, 0)), (circle(10.5, 20, 8.5), (0, 200, 0)),
             (circle(21.5, 20, 8.5), (0, 0, 255))]

    def mix(x, y):
        return tuple(min(255, 30 + sum(rgb[c] for disc, rgb in discs if disc(x, y))) for c in range(3))

    canvas.fill(either(*(disc for disc, _ in discs)), mix)
    for (cx, cy) in ((16, 10.5), (10.5, 20), (21.5, 20)):
        canvas.fill(ring(cx, cy, 8.5, 1.3), INK)


def draw_exposure(canvas):
    canvas.fill(rounded_rect(3, 3, 29, 29, 3), PAPER)
    for at in (11.7, 20.3):
        canvas.fill(either(line(at, 5, at, 27, 0.8), line(5, at, 27, at, 0.8)), (200, 205, 215))
    canvas.fill(line(5, 27, 27, 5, 1.0), (160, 165, 175))
    # A brightening tone curve: output = 1 - (1 - input)^2.5 lifts the mid-tones.
    curve = [(5 + 22 * t, 27 - 22 * (1 - (1 - t) ** 2.5)) for t in (i / 24 for i in range(25))]
    canvas.fill(polyline(curve, width=2.6), ORANGE)
    canvas.fill(rounded_rect_outline(3, 3, 29, 29, 3), INK)


def barrel(u, v):
    """Maps a point of the unit square [-1, 1]^2 to the canvas with barrel distortion:
    the corners are pulled in more than the edge middles, so straight lines bow out."""
    k = 0.12
    scale = 12.5 * (1 - k * (u * u + v * v)) / (1 - k)
    return 16 + u * scale, 16 + v * scale


def draw_lens_distort(canvas):
    steps = [i / 12 * 2 - 1 for i in range(13)]
    border = ([barrel(t, -1) for t in steps] + [barrel(1, t) for t in steps]
              + [barrel(-t, 1) for t in steps] + [barrel(-1, -t) for t in steps])
    canvas.fill(polygon(border), PALE_BLUE)
    for at in (-0.5, 0.0, 0.5):
        canvas.fill(polyline([barrel(at, t) for t in steps], width=1.3), BLUE)
        canvas.fill(polyline([barrel(t, at) for t in steps], width=1.3), BLUE)
    canvas.fill(polyline(border, closed=True), INK)


def draw_sharpen(canvas):
    # A tall, pointed triangle whose two faces meet in a hard edge.
    outline = [(16, 2.5), (25, 29), (7, 29)]
    canvas.fill(both(polygon(outline), lambda x, y: x < 16), BLUE)
    canvas.fill(both(polygon(outline), lambda x, y: x >= 16), PALE_BLUE)
    canvas.fill(polyline(outline, closed=True), INK)
    canvas.fill(line(16, 4, 16, 28, 1.0), INK)


def draw_crop(canvas):
    canvas.fill(rect(9, 9, 23, 23), PALE_BLUE)
    canvas.fill(polyline([(9, 3), (9, 23), (29, 23)], width=3.0), INK)
    canvas.fill(polyline([(3, 9), (23, 9), (23, 29)], width=3.0), INK)


def grain(count, seed):
    """Deterministic scatter: a linear congruential sequence keeps the icon stable."""
    state = seed
    dots = []
    for _ in range(count):
        values = []
        for _ in range(3):
            state = (state * 1103515245 + 12345) % 2 ** 31
            values.append(state / 2 ** 31)
        dots.append((6 + values[0] * 20, 6 + values[1] * 20, values[2]))
    return dots


def draw_noise(canvas):
    canvas.fill(rounded_rect(3, 3, 29, 29, 3), (150, 156, 168))
    for x, y, tone in grain(56, 7):
        canvas.fill(circle(x, y, 0.75 + tone * 0.35), WHITE if tone > 0.5 else INK)
    canvas.fill(rounded_rect_outline(3, 3, 29, 29, 3), INK)


def draw_brightness_contrast(canvas):
    for k in range(8):
        angle = math.radians(k * 45)
        c, s = math.cos(angle), math.sin(angle)
        canvas.fill(line(16 + 10.5 * c, 16 + 10.5 * s, 16 + 13.5 * c, 16 + 13.5 * s, 2.4), ORANGE)
    disc = circle(16, 16, 7.5)
    canvas.fill(both(disc, lambda x, y: x < 16), YELLOW)
    canvas.fill(both(disc, lambda x, y: x >= 16), INK)
    canvas.fill(ring(16, 16, 7.5, STROKE), INK)


def draw_vignetting(canvas):
    # Light in the middle, falling off to dark corners.
    def shade(x, y):
        distance = math.hypot((x - 16) / 13, (y - 16) / 11)
        t = min(max((distance - 0.35) / 0.85, 0.0), 1.0)
        return lerp((252, 240, 200), (45, 40, 50), t * t * (3 - 2 * t))

    canvas.fill(rounded_rect(3, 5, 29, 27, 2), shade)
    canvas.fill(rounded_rect_outline(3, 5, 29, 27, 2, 1.6), INK)


def draw_hot_pixel_fixer(canvas):
    canvas.fill(rounded_rect(3, 3, 29, 29, 2.5), (52, 58, 74))
    for k in range(1, 5):
        at = 3 + k * 5.2
        canvas.fill(either(line(at, 4, at, 28, 0.8), line(4, at, 28, at, 0.8)), (84, 92, 112))
    canvas.fill(polygon(star(16, 16, 11, 2.6, 4)), RED)
    canvas.fill(polygon(star(16, 16, 6.5, 2.0, 4, turn=-45)), ORANGE)
    canvas.fill(circle(16, 16, 2.4), WHITE)
    canvas.fill(rounded_rect_outline(3, 3, 29, 29, 2.5, 1.6), INK)


def draw_autofix(canvas):
    canvas.fill(line(4.5, 27.5, 18, 14, 4.0), INK)
    canvas.fill(line(15.5, 16.5, 18, 14, 2.2), WHITE)
    head = star(21.5, 10.5, 8, 3.4, 5)
    canvas.fill(polygon(head), YELLOW)
    canvas.fill(polyline(head, width=1.5, closed=True), INK)
    for cx, cy, size in ((7, 8, 4.0), (26, 23, 4.0)):
        canvas.fill(polygon(star(cx, cy, size, size * 0.3, 4)), ORANGE)


def draw_resize(canvas):
    canvas.fill(rect(11, 11, 21, 21), PALE_BLUE)
    canvas.fill(polyline([(11, 11), (21, 11), (21, 21), (11, 21)], width=STROKE, closed=True), INK)
    # One arrow from each corner of the box out to the canvas corner.
    for sx, sy in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        canvas.fill(line(16 + 6.5 * sx, 16 + 6.5 * sy, 16 + 10.5 * sx, 16 + 10.5 * sy, 2.2), BLUE)
        tip = (16 + 13.5 * sx, 16 + 13.5 * sy)
        canvas.fill(polygon([tip, (tip[0] - 7 * sx, tip[1]), (tip[0], tip[1] - 7 * sy)]), BLUE)


def draw_median(canvas):
    tones = [196, 120, 168, 92, None, 222, 146, 70, 184]
    cell = 8.0
    for k, tone in enumerate(tones):
        x0 = 3.5 + (k % 3) * (cell + 1)
        y0 = 3.5 + (k // 3) * (cell + 1)
        colour = BLUE if tone is None else (tone, tone, tone + 8)
        canvas.fill(rounded_rect(x0, y0, x0 + cell, y0 + cell, 1.2), colour)
    canvas.fill(rounded_rect_outline(11.7, 11.7, 20.3, 20.3, 1.5, 1.6), INK)
    canvas.fill(rounded_rect_outline(2.5, 2.5, 29.5, 29.5, 2, 1.2), INK)


def eye_shape(half_width, half_height, grow=0.0):
    """An almond: the overlap of two circles through both eye corners."""
    radius = (half_width ** 2 + half_height ** 2) / (2 * half_height)
    offset = radius - half_height
    return both(circle(16, 16 + offset, radius + grow), circle(16, 16 - offset, radius + grow))


def draw_red_eye(canvas):
    almond = eye_shape(13.5, 8.5)
    canvas.fill(almond, INK)
    inner = eye_shape(13.5, 8.5, grow=-1.8)
    canvas.fill(inner, WHITE)
    canvas.fill(both(inner, circle(16, 16, 6.3)), RED)
    canvas.fill(circle(16, 16, 2.8), (90, 0, 0))
    canvas.fill(circle(18.2, 13.8, 1.4), WHITE)


def draw_frames(canvas):
    canvas.fill(rect(3, 5, 29, 27), (196, 138, 64))
    # Lighter top and left mouldings give the frame its depth.
    canvas.fill(polygon([(3, 5), (29, 5), (24, 10), (8, 10), (8, 22), (3, 27)]), (226, 178, 102))
    picture = rect(8, 10, 24, 22)
    canvas.fill(picture, lambda x, y: lerp((110, 170, 235), (190, 220, 250), (y - 10) / 12))
    canvas.fill(both(picture, circle(13, 26, 9)), GREEN)
    canvas.fill(both(picture, circle(22, 27, 8)), (40, 140, 70))
    canvas.fill(circle(20, 14, 2), YELLOW)
    canvas.fill(polyline([(8, 10), (24, 10), (24, 22), (8, 22)], width=1.0, closed=True), INK)
    canvas.fill(polyline([(3, 5), (29, 5), (29, 27), (3, 27)], width=1.6, closed=True), INK)


# Icon id -> drawing, in the module's icon list order.
ICONS = {
    5004: draw_flip_horizontal,
    5016: draw_flip_vertical,
    5019: draw_invert,
    5054: draw_rotate,
    5030: draw_color_balance,
    5059: draw_exposure,
    5031: draw_lens_distort,
    5032: draw_sharpen,
    5055: draw_crop,
    5057: draw_noise,
    5065: draw_brightness_contrast,
    2: draw_vignetting,
    5083: draw_hot_pixel_fixer,
    5089: draw_autofix,
    8: draw_resize,
    12: draw_median,
    5072: draw_red_eye,
    16: draw_frames,
}


def render(icon_id):
    canvas = Canvas()
    ICONS[icon_id](canvas)
    return canvas.rgba()


def main(argv):
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "resources", "icons")
    out_dir = argv[1] if len(argv) > 1 else default
    os.makedirs(out_dir, exist_ok=True)
    for icon_id in ICONS:
        with open(os.path.join(out_dir, f"{icon_id}.png"), "wb") as out:
            out.write(png_bytes(SIZE, SIZE, render(icon_id)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
