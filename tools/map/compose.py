#!/usr/bin/python3
"""Assembles the final picture: the GMT map on top, a dark rule, the legend.

Usage: compose.py MAP_PNG OUT_JPEG "LEVEL:R/G/B LEVEL:R/G/B ..."

Layout of the 750 x 550 picture (pixels, y from the top):
  rows   0..463  map (rendered by GMT at 750 x 464)
  rows 464..465  dark rule across the full width
  rows 466..549  legend: three columns of isoline samples, three rows centred
                 at y = 485, 502, 519; the program places 105 x 13 click areas
                 over them at (8|144|288, 480|496|512), the last one unused.
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

WIDTH, HEIGHT = 750, 550
MAP_HEIGHT = 464
RULE_ROWS = (464, 465)
RULE_COLOUR = (30, 30, 30)
PAPER = (255, 255, 255)
TITLE_COLOUR = (70, 70, 70)

ROW_CENTRES = (485, 502, 519)
# (sample line x0, x1, right end of the value text) for each column
COLUMNS = ((14, 50, 106), (154, 200, 239), (294, 340, 380))
LINE_THICKNESS = 4
VALUE_FONT_PX = 13
# Levels in legend order: column by column, top to bottom.
LEGEND_ORDER = (5, 10, 20, 40, 60, 80, 100, 140)

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
REGULAR = os.path.join(FONT_DIR, "DejaVuSans.ttf")
OBLIQUE = os.path.join(FONT_DIR, "DejaVuSans-Oblique.ttf")

TITLE_LINES = (
    ("Средняя за год продолжительность", REGULAR, 13),
    ("гроз в часах (изолинии)", REGULAR, 13),
    ("Схематическая карта", OBLIQUE, 12),
)
TITLE_X = 440
TITLE_BASELINES = (487, 504, 526)


def parse_levels(text):
    colours = {}
    for entry in text.split():
        level, rgb = entry.split(":")
        colours[int(level)] = tuple(int(c) for c in rgb.split("/"))
    missing = [lv for lv in LEGEND_ORDER if lv not in colours]
    if missing:
        raise SystemExit("no colour for level(s) %s" % missing)
    return colours


def load_map(path):
    """The GMT raster, checked to be the 750 x 464 map area.

    Ghostscript may round the bounding box by a pixel; anything further off
    means the layout in make_map.sh is wrong, so it is refused, not stretched.
    """
    img = Image.open(path).convert("RGB")
    w, h = img.size
    if abs(w - WIDTH) > 1 or abs(h - MAP_HEIGHT) > 1:
        raise SystemExit("map raster is %dx%d, expected %dx%d"
                         % (w, h, WIDTH, MAP_HEIGHT))
    if (w, h) != (WIDTH, MAP_HEIGHT):
        fixed = Image.new("RGB", (WIDTH, MAP_HEIGHT), PAPER)
        fixed.paste(img.crop((0, 0, min(w, WIDTH), min(h, MAP_HEIGHT))), (0, 0))
        img = fixed
    return img


def draw_legend(draw, colours):
    font = ImageFont.truetype(BOLD, VALUE_FONT_PX)
    # Centre the digits (not the whole em box) on the row.
    top, bottom = font.getbbox("0123456789", anchor="ls")[1::2]
    baseline_shift = -(top + bottom) / 2.0
    for index, level in enumerate(LEGEND_ORDER):
        col, row = divmod(index, len(ROW_CENTRES))
        x0, x1, text_right = COLUMNS[col]
        yc = ROW_CENTRES[row]
        colour = colours[level]
        y0 = yc - LINE_THICKNESS // 2 + 1
        draw.rectangle((x0, y0, x1, y0 + LINE_THICKNESS - 1), fill=colour)
        draw.text((text_right, yc + 0.5 + baseline_shift), str(level),
                  font=font, fill=colour, anchor="rs")


def draw_title(draw):
    for (text, face, size), baseline in zip(TITLE_LINES, TITLE_BASELINES):
        font = ImageFont.truetype(face, size)
        draw.text((TITLE_X, baseline), text, font=font, fill=TITLE_COLOUR,
                  anchor="ls")


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    map_path, out_path, levels = argv[1:]
    colours = parse_levels(levels)

    picture = Image.new("RGB", (WIDTH, HEIGHT), PAPER)
    picture.paste(load_map(map_path), (0, 0))
    draw = ImageDraw.Draw(picture)
    draw.rectangle((0, RULE_ROWS[0], WIDTH - 1, RULE_ROWS[1]), fill=RULE_COLOUR)
    draw_legend(draw, colours)
    draw_title(draw)

    # Baseline JFIF. Chroma is halved horizontally only (4:2:2): 4:2:0 greys
    # out the thin coloured isolines, 4:4:4 makes the file needlessly large.
    picture.save(out_path, "JPEG", quality=87, optimize=False,
                 progressive=False, subsampling=1)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
