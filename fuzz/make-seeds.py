#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora into fuzz/corpus/ from what the tests use:
each filter's parameter text as the command-line tool formats it, texts with the
reader's escapes and edge cases, recipes, small photos in every format the hosts read (one
JPEG and one PNG carrying EXIF orientation and XMP), and one apply input per filter.

    fuzz/make-seeds.py build/release/bin/basicfilters
"""
import json
import pathlib
import struct
import subprocess
import sys
import tempfile
import zlib

root = pathlib.Path(__file__).resolve().parent
cli = sys.argv[1]
corpus = root / "corpus"


def run(*arguments):
    return subprocess.run([cli, *arguments], check=True, capture_output=True, text=True).stdout


def write(folder, name, data):
    path = corpus / folder
    path.mkdir(parents=True, exist_ok=True)
    (path / name).write_bytes(data)


filters = json.loads(run("list", "--json"))
if isinstance(filters, dict):
    filters = filters.get("filters", [])
formats = {}
for index, entry in enumerate(filters):
    name = entry.get("menu_path") or entry.get("menuPath") or entry.get("name")
    try:
        formats[name] = run("format", name)
    except subprocess.CalledProcessError:
        formats[name] = ""

# The reader's own cases: escapes, duplicate keys in two letter cases, a final
# pair without a line feed, numbers no dialog writes, rectangles and curves.
texts = {
    "escapes": "a\\:b:c\\\\d\nkey\\:x:1\\:2\n",
    "duplicates": "k:1\nK:2\n",
    "no-final-line-feed": "MedianSize:3",
    "malformed": "a:\n:b\nc\n:\n",
    "refused-numbers": "ContrastValue:nan\nBrightnessValue:1e300\nangle:-inf\nMedianSize:99999999999\n",
    "rectangle": "r:1|-2|300|4000\nshape:10 20 30 40\n",
    "curve": "Active:GradCurves\nNumSplinePoints:3\nX000:0\nY000:10\nX001:128.5\nY001:90\nX002:255\nY002:250\n",
}
for name, text in texts.items():
    write("param-text", name + ".txt", text.encode("utf-16-le"))
write("param-text", "lone-surrogates.txt", "k:\ud800x\n\udfff:1\n".encode("utf-16-le", "surrogatepass"))
for index, (name, text) in enumerate(formats.items()):
    if text:
        write("param-text", "format-%02d.txt" % index, text.encode("utf-16-le"))

# Recipes: the README's example, one with Windows line ends, comments and every
# shape, and one step per filter with its start text.
recipes = {
    "readme": "BasicFilters recipe 1\n# comments and blank lines are skipped\nfilter Color\\Brightness and Contrast\n"
              "  BrightnessValue:20\n  ContrastValue:1.2\nfilter Crop\n  selection 0,0,256,240\n",
    "shapes": "BasicFilters recipe 1\r\n# straighten\r\n\r\nfilter Rotate\r\n\tangle:4\r\n\tline 1 2 300 40\r\n"
              "filter 17\r\nfilter Noise\r\n  NoiseActivePage:RemoveNoisePage\r\n  selection 0 0 200 150\r\n",
    "escaped": "BasicFilters recipe 1\nfilter Frames\n  NameOfTheFrame:Double\\:Frame\\\\Name\n",
}
for index, (name, text) in enumerate(formats.items()):
    body = "".join("  " + line + "\n" for line in text.splitlines())
    recipes["filter-%02d" % index] = "BasicFilters recipe 1\nfilter " + name + "\n" + body
for name, text in recipes.items():
    write("recipe", name + ".txt", text.encode("utf-8"))

# Photos: the bundled one reduced to 12 x 10 in each format the hosts write.
with tempfile.TemporaryDirectory() as scratch:
    scratch = pathlib.Path(scratch)
    for suffix in ("png", "jpg", "bmp", "tif", "webp", "ppm"):
        out = scratch / ("small." + suffix)
        subprocess.run([cli, "apply", "Resize", str(root.parent / "samples" / "home.jpg"), str(out), "--quiet",
                        "--set", "ResizerMode=1", "--set", "ResizerWidth=12", "--set", "ResizerHeight=10"],
                       check=True)
        write("picture-file", "small." + suffix, out.read_bytes())
    jpeg = (scratch / "small.jpg").read_bytes()
    png = (scratch / "small.png").read_bytes()


def exif(orientation):
    """A little-endian TIFF block with one IFD: Orientation."""
    ifd = struct.pack("<H", 1) + struct.pack("<HHII", 0x0112, 3, 1, orientation) + struct.pack("<I", 0)
    return b"II*\x00" + struct.pack("<I", 8) + ifd


xmp = (b'<x:xmpmeta xmlns:x="adobe:ns:meta/"><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">'
       b'<rdf:Description xmlns:tiff="http://ns.adobe.com/tiff/1.0/" tiff:Orientation="6"/></rdf:RDF></x:xmpmeta>')


def segment(marker, payload):
    return b"\xff" + bytes([marker]) + struct.pack(">H", len(payload) + 2) + payload


turned_jpeg = (jpeg[:2] + segment(0xE1, b"Exif\x00\x00" + exif(6))
               + segment(0xE1, b"http://ns.adobe.com/xap/1.0/\x00" + xmp) + jpeg[2:])
write("picture-file", "exif-orientation-6.jpg", turned_jpeg)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


ihdr_end = 8 + 25
write("picture-file", "exif-orientation-8.png", png[:ihdr_end] + chunk(b"eXIf", exif(8)) + png[ihdr_end:])

# Apply inputs: header, the filter's text, then 9 x 7 pixels.
pixels = bytes((i * 37 + 11) % 256 for i in range(9 * 7 * 4))
for index, (name, text) in enumerate(formats.items()):
    encoded = text.encode("utf-16-le")
    header = bytes([index, 8, 6, 0xFF, 0xFF, 1, 1, 7, 6]) + struct.pack("<H", len(encoded) // 2)
    write("filter-apply", "filter-%02d" % index, header + encoded + pixels)
    # The same with a cancel at the second step and the first allocation refused.
    header = bytes([index, 8, 6, 1, 0, 1, 1, 7, 6]) + struct.pack("<H", len(encoded) // 2)
    write("filter-apply", "filter-%02d-cancel-refuse" % index, header + encoded + pixels)
