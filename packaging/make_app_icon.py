#!/usr/bin/env python3
"""Draws the editor's application icon and writes packaging/icons/<size>/basicfilters-editor.png.

The drawing uses the shapes and colours of the module's pictograms
(scripts/make_icons.py) on the same 32-unit canvas, sampled at each size the
desktop's icon theme asks for. Run it again after changing the drawing and keep the
PNGs it writes: the installation copies them.

Usage: make_app_icon.py [output-directory]
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "scripts"))
import make_icons as icons  # noqa: E402

UNITS = 32
SIZES = (48, 128, 256)


def scaled(function, size):
    """The function of canvas units as one of pixel coordinates at size pixels."""
    factor = UNITS / size
    return lambda x, y: function(x * factor, y * factor)


class ScaledCanvas(icons.Canvas):
    def __init__(self, size):
        super().__init__()
        self.size = size

    def fill(self, shape, colour, opacity=1.0):
        paint = scaled(colour, self.size) if callable(colour) else colour
        super().fill(scaled(shape, self.size), paint, opacity)


def draw_editor(canvas):
    """A photo of hills under the sun, on a blue tile, touched by a star."""
    tile = icons.rounded_rect(1, 1, 31, 31, 6)
    canvas.fill(tile, lambda x, y: icons.lerp((70, 140, 235), (30, 80, 170), y / 32))
    canvas.fill(icons.rounded_rect(4.5, 8, 25.5, 27, 1.2), icons.PAPER)
    picture = icons.rect(6.5, 10, 23.5, 25)
    canvas.fill(picture, lambda x, y: icons.lerp((110, 170, 235), (200, 226, 250), (y - 10) / 15))
    canvas.fill(icons.circle(18.5, 14.5, 2.4), icons.YELLOW)
    canvas.fill(icons.both(picture, icons.circle(11, 32, 11)), icons.GREEN)
    canvas.fill(icons.both(picture, icons.circle(22, 33, 10)), (40, 140, 70))
    head = icons.star(24.5, 8.5, 6.5, 2.7, 5)
    canvas.fill(icons.polygon(head), icons.YELLOW)
    canvas.fill(icons.polyline(head, width=1.2, closed=True), icons.INK)
    canvas.fill(icons.polygon(icons.star(8, 5, 2.8, 0.9, 4)), icons.WHITE)


def main(argv):
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "icons")
    out_dir = argv[1] if len(argv) > 1 else default
    for size in SIZES:
        icons.SIZE = size
        # Finer pixels need fewer samples each for the same smooth edges.
        icons.SAMPLES = 4 if size < 100 else 2
        canvas = ScaledCanvas(size)
        draw_editor(canvas)
        folder = os.path.join(out_dir, f"{size}x{size}")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "basicfilters-editor.png"), "wb") as out:
            out.write(icons.png_bytes(size, size, canvas.rgba()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
