#!/usr/bin/python3
"""Draws the application icon: a yellow-orange lightning bolt on a blue square
with a bevelled light frame, 256 colours.

Needs Debian's python3-pil. Usage: tools/icon/make_icon.py [SIZE ...]
Writes resources/icons/SIZExSIZE/vostrel.png for each size (by default the
hicolor sizes 16 to 256); the 32 x 32 one is the program's own icon.
"""
import pathlib
import sys

from PIL import Image, ImageDraw

ROOT = pathlib.Path(__file__).resolve().parents[2]
SUPER = 16  # drawn this many times larger, then scaled down smoothly

# The drawing on a 32 x 32 grid.
BEVEL = 3
BOLT = [(19.5, 4), (8.5, 17.5), (15, 17.5), (11, 28.5), (23.5, 13.5), (17, 13.5), (21.5, 4)]


def draw(size):
    s = size * SUPER / 32.0
    big = size * SUPER
    img = Image.new("RGB", (big, big))
    d = ImageDraw.Draw(img)
    # Bevelled light frame: light top-left, darker bottom-right.
    d.rectangle([0, 0, big - 1, big - 1], fill=(236, 240, 248))
    d.polygon([(big - 1, 0), (big - 1, big - 1), (0, big - 1),
               (BEVEL * s, big - 1 - BEVEL * s), (big - 1 - BEVEL * s, big - 1 - BEVEL * s),
               (big - 1 - BEVEL * s, BEVEL * s)], fill=(150, 160, 184))
    # Blue square with a slight gradient from top to bottom.
    top, bottom = (40, 96, 200), (16, 48, 136)
    y0, y1 = int(BEVEL * s), int(big - BEVEL * s)
    for y in range(y0, y1):
        t = (y - y0) / max(1, y1 - y0 - 1)
        colour = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
        d.line([(y0, y), (y1 - 1, y)], fill=colour)
    # Lightning bolt: dark outline, body shading from yellow to orange.
    d.polygon([(x * s, y * s) for x, y in BOLT], fill=(110, 50, 0))
    mask = Image.new("L", (big, big))
    ImageDraw.Draw(mask).polygon([(x * s, y * s) for x, y in shrink(BOLT, 0.9)], fill=255)
    body = Image.new("RGB", (big, big))
    bd = ImageDraw.Draw(body)
    for y in range(big):
        t = y / (big - 1)
        bd.line([(0, y), (big - 1, y)], fill=(255, int(226 - 96 * t), int(48 - 40 * t)))
    img.paste(body, (0, 0), mask)
    img = img.resize((size, size), Image.LANCZOS)
    return img.quantize(colors=256, method=Image.MEDIANCUT, dither=Image.Dither.NONE)


def shrink(points, amount):
    """Moves every vertex towards the polygon's centroid by `amount` units."""
    cx = sum(x for x, _ in points) / len(points)
    cy = sum(y for _, y in points) / len(points)
    out = []
    for x, y in points:
        dx, dy = cx - x, cy - y
        length = (dx * dx + dy * dy) ** 0.5 or 1
        out.append((x + dx / length * amount, y + dy / length * amount))
    return out


SIZES = [16, 22, 24, 32, 48, 64, 128, 256]


def main(argv):
    for size in [int(arg) for arg in argv] or SIZES:
        target = ROOT / "resources" / "icons" / f"{size}x{size}"
        target.mkdir(parents=True, exist_ok=True)
        draw(size).save(target / "vostrel.png", optimize=True)


if __name__ == "__main__":
    main(sys.argv[1:])
