#!/usr/bin/env python3
"""Plants hot pixels in a photo and counts what the Hot Pixel Fixer repaired.

Works on binary PPM files (P6), which basicfilters reads and writes:

  basicfilters apply "Rotate 0 Degrees" photo.jpg photo.ppm
  scripts/hot-pixels.py plant photo.ppm planted.ppm [--count N] [--seed S]
  basicfilters apply "Hot Pixel Fixer" planted.ppm fixed.ppm
  scripts/hot-pixels.py count photo.ppm planted.ppm fixed.ppm

plant: puts N single pixels of pure colours (white, yellow, cyan, magenta, and red,
green or blue where the photo is very dark) where the photo around them (17 x 17)
is dark enough for each to stand out, each far from the others and from
the edges; prints their places. count: how many of the planted pixels came back
repaired (no longer the planted colour), how many were left, and how many pixels
beyond the planted ones' repair diamonds changed (hot pixels of the photo itself).
"""

import argparse
import random
import sys

REACH = 8  # |dx| + |dy| of the diamond the fixer rebuilds around a hot pixel
COLOURS = {"white": (255, 255, 255), "yellow": (255, 255, 0), "cyan": (0, 255, 255), "magenta": (255, 0, 255),
           "red": (255, 0, 0), "green": (0, 255, 0), "blue": (0, 0, 255)}


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at) + 1
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    return width, height, bytearray(data[at + 1:at + 1 + 3 * width * height])


def write_ppm(path, width, height, pixels):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height))
        f.write(pixels)


def mean(pixels, width, x, y):
    at = 3 * (y * width + x)
    return (pixels[at] + pixels[at + 1] + pixels[at + 2] + 2) // 3


def brightest_around(pixels, width, x, y, half):
    return max(mean(pixels, width, x + dx, y + dy) for dy in range(-half, half + 1) for dx in range(-half, half + 1)
               if dx or dy)


def plant(args):
    width, height, pixels = read_ppm(args.photo)
    spacing = 2 * max(10, min(width, height) // 50) + 2 * REACH
    rng = random.Random(args.seed)
    planted = []
    tries = 0
    while len(planted) < args.count and tries < 200 * args.count:
        tries += 1
        x = rng.randrange(REACH + 2, width - REACH - 2)
        y = rng.randrange(REACH + 2, height - REACH - 2)
        if any(abs(x - px) + abs(y - py) <= spacing for px, py, _ in planted):
            continue
        # The planted pixel's mean must clear its surroundings' by more than the
        # default intensity of 60, with room for the noise reduction's softening; a
        # colour that cannot becomes white, which can stand out on brighter places.
        brightest = brightest_around(pixels, width, x, y, REACH)
        name = rng.choice(list(COLOURS))
        if brightest + 90 >= (sum(COLOURS[name]) + 2) // 3:
            name = "white"
        if brightest + 90 >= 255:
            continue
        at = 3 * (y * width + x)
        pixels[at:at + 3] = bytes(COLOURS[name])
        planted.append((x, y, name))
    write_ppm(args.planted, width, height, pixels)
    for x, y, name in planted:
        print(f"{x} {y} {name}")
    print(f"planted {len(planted)} hot pixels", file=sys.stderr)


def count(args):
    width, height, photo = read_ppm(args.photo)
    _, _, planted = read_ppm(args.planted)
    _, _, fixed = read_ppm(args.fixed)
    places = [(i // 3 % width, i // 3 // width) for i in range(0, len(photo), 3) if photo[i:i + 3] != planted[i:i + 3]]
    repaired = [p for p in places if fixed[3 * (p[1] * width + p[0]):][:3] != planted[3 * (p[1] * width + p[0]):][:3]]
    elsewhere = 0
    for i in range(0, len(photo), 3):
        if photo[i:i + 3] == fixed[i:i + 3]:
            continue
        x, y = i // 3 % width, i // 3 // width
        if all(abs(x - px) + abs(y - py) > REACH for px, py in places):
            elsewhere += 1
    print(f"planted {len(places)}, repaired {len(repaired)}, left {len(places) - len(repaired)}; "
          f"{elsewhere} pixels changed beyond the planted ones' diamonds")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    planting = commands.add_parser("plant")
    planting.add_argument("photo")
    planting.add_argument("planted")
    planting.add_argument("--count", type=int, default=25)
    planting.add_argument("--seed", type=int, default=1)
    counting = commands.add_parser("count")
    counting.add_argument("photo")
    counting.add_argument("planted")
    counting.add_argument("fixed")
    args = parser.parse_args()
    plant(args) if args.command == "plant" else count(args)


if __name__ == "__main__":
    main()
