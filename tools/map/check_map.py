#!/usr/bin/python3
"""Checks resources/map.jpg against what the program expects of it.

Usage: check_map.py [PATH]   (default: resources/map.jpg of this repository)

Format: JFIF, baseline DCT (SOF0, not progressive), 8-bit, 3 components,
750 x 550, 50..130 KB. Layout: a dark rule on rows 464-465 across the whole
width; a pixel of each level's colour inside that level's click area; nothing
but paper in the unused click area; map content (not blank) above the rule.
Exits non-zero and lists every failure.
"""
import os
import struct
import sys

from PIL import Image

WIDTH, HEIGHT = 750, 550
CLICK_W, CLICK_H = 105, 13
# level -> (click area left, top, expected colour)
ENTRIES = {
    5: (8, 480, (0xAA, 0x0B, 0x1D)),
    10: (8, 496, (0xCD, 0x3E, 0xCB)),
    20: (8, 512, (0xAC, 0x0D, 0x1C)),
    40: (144, 480, (0x07, 0x31, 0x9C)),
    60: (144, 496, (0x83, 0x9C, 0xE5)),
    80: (144, 512, (0x56, 0xDB, 0x78)),
    100: (288, 480, (0xFA, 0xCF, 0x0E)),
    140: (288, 496, (0xAD, 0x0E, 0x1B)),
}
UNUSED_AREA = (288, 512)
COLOUR_TOLERANCE = 40      # max per-channel difference after JPEG coding
PAPER_MIN = 200            # every channel of "empty" legend paper (JPEG
                           # ringing next to the text stays above this)


def jpeg_markers(data):
    """(marker, payload) pairs of the header segments, up to start of scan."""
    if data[:2] != b"\xff\xd8":
        raise ValueError("not a JPEG (no SOI)")
    pos, found = 2, []
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            raise ValueError("bad marker at byte %d" % pos)
        marker = data[pos + 1]
        length = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        found.append((marker, data[pos + 4:pos + 2 + length]))
        if marker == 0xDA:
            break
        pos += 2 + length
    return found


def check_format(path, data, errors):
    size = len(data)
    if not 50_000 <= size <= 130_000:
        errors.append("file size %d bytes outside 50..130 KB" % size)
    try:
        markers = jpeg_markers(data)
    except ValueError as exc:
        errors.append(str(exc))
        return
    kinds = [m for m, _ in markers]
    if not markers or markers[0][0] != 0xE0 or not markers[0][1].startswith(b"JFIF\0"):
        errors.append("first segment is not a JFIF APP0")
    sof = [(m, p) for m, p in markers if 0xC0 <= m <= 0xCF and m not in (0xC4, 0xC8, 0xCC)]
    if len(sof) != 1 or sof[0][0] != 0xC0:
        errors.append("frame type is not baseline DCT (SOF markers: %s)"
                      % ["%02X" % m for m, _ in sof])
        return
    precision, height, width, comps = struct.unpack(">BHHB", sof[0][1][:6])
    if precision != 8 or comps != 3 or (width, height) != (WIDTH, HEIGHT):
        errors.append("frame is %dx%d, %d components, %d bit"
                      % (width, height, comps, precision))
    if 0xDA not in kinds:
        errors.append("no scan found")


def near(pixel, colour, tol=COLOUR_TOLERANCE):
    return all(abs(a - b) <= tol for a, b in zip(pixel, colour))


def check_layout(img, errors):
    px = img.load()
    for y in (464, 465):
        bad = [x for x in range(WIDTH) if max(px[x, y]) > 40]
        if bad:
            errors.append("rule row %d not dark at %d pixel(s), first x=%d"
                          % (y, len(bad), bad[0]))
    for level, (left, top, colour) in ENTRIES.items():
        hits = sum(1 for x in range(left, left + CLICK_W)
                   for y in range(top, top + CLICK_H) if near(px[x, y], colour))
        if hits < 60:   # the line sample alone is ~150 pixels
            errors.append("%d h: only %d pixels of its colour in its click area"
                          % (level, hits))
    left, top = UNUSED_AREA
    marks = [(x, y) for x in range(left, left + CLICK_W)
             for y in range(top, top + CLICK_H) if min(px[x, y]) < PAPER_MIN]
    if marks:
        errors.append("unused click area has %d marked pixels, e.g. %s"
                      % (len(marks), marks[0]))
    # Between the rows of a column the paper must be clean, so that entries
    # do not spill into the neighbouring click area.
    for left in (8, 144, 288):
        for y in (494, 510):
            marks = [x for x in range(left, left + CLICK_W)
                     if min(px[x, y]) < PAPER_MIN]
            if marks:
                errors.append("legend spills over row %d at x=%d" % (y, marks[0]))
    colours = set()
    for y in range(0, 464, 4):
        for x in range(0, WIDTH, 4):
            colours.add(tuple(c // 16 for c in px[x, y]))
    if len(colours) < 40:
        errors.append("map area looks blank (%d colour bins)" % len(colours))


def main(argv):
    if len(argv) > 2:
        sys.stderr.write(__doc__)
        return 2
    path = argv[1] if len(argv) == 2 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "map.jpg")
    with open(path, "rb") as f:
        data = f.read()
    errors = []
    check_format(path, data, errors)
    img = Image.open(path).convert("RGB")
    if img.size != (WIDTH, HEIGHT):
        errors.append("decoded size %dx%d" % img.size)
    else:
        check_layout(img, errors)
    if errors:
        for e in errors:
            print("map check: " + e, file=sys.stderr)
        return 1
    print("map check: ok (%d bytes, baseline JFIF, %dx%d, 3 components)"
          % (len(data), WIDTH, HEIGHT))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
