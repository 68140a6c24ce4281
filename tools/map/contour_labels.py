#!/usr/bin/python3
"""Positions of isoline labels: where an isoline crosses given guide segments.

Usage: contour_labels.py LABEL CONTOURS GUIDES

CONTOURS  isoline of one level as a GMT multisegment file ('>' headers),
          "x y ..." in frame inches (gmt grdcontour -D, then gmt mapproject).
GUIDES    short segments, two points each, in the same form and units.

For every guide the crossing nearest to the guide's first point is taken, so a
guide drawn outwards from the centre of a group of nested loops picks the loop
of this level on that side. Prints "x y angle LABEL" per crossing, the angle
following the isoline and turned so that the text reads upright. A guide that
misses its isoline is reported on stderr; no crossing at all is an error.
"""
import math
import sys

SMOOTH = 0.10   # inches of isoline on each side used for the label's angle


def read_segments(path):
    segments, current = [], []
    with open(path) as f:
        for line in f:
            if line.startswith(">"):
                if current:
                    segments.append(current)
                current = []
                continue
            fields = line.split()
            if len(fields) >= 2:
                current.append((float(fields[0]), float(fields[1])))
    if current:
        segments.append(current)
    return segments


def intersect(p1, p2, q1, q2):
    """Parameter t along p1-p2 of its crossing with q1-q2, or None."""
    rx, ry = p2[0] - p1[0], p2[1] - p1[1]
    sx, sy = q2[0] - q1[0], q2[1] - q1[1]
    denom = rx * sy - ry * sx
    if abs(denom) < 1e-12:
        return None
    qpx, qpy = q1[0] - p1[0], q1[1] - p1[1]
    t = (qpx * sy - qpy * sx) / denom
    u = (qpx * ry - qpy * rx) / denom
    if 0.0 <= t <= 1.0 and 0.0 <= u <= 1.0:
        return t
    return None


def point_along(line, index, frac, distance):
    """Point `distance` inches from line[index] + frac along the polyline
    (negative distance goes backwards); stops at the ends."""
    x = line[index][0] + frac * (line[index + 1][0] - line[index][0])
    y = line[index][1] + frac * (line[index + 1][1] - line[index][1])
    step = 1 if distance >= 0 else -1
    left = abs(distance)
    k = index + 1 if step > 0 else index
    while 0 <= k < len(line):
        nx, ny = line[k]
        d = math.hypot(nx - x, ny - y)
        if d >= left:
            t = left / d if d else 0.0
            return x + t * (nx - x), y + t * (ny - y)
        left -= d
        x, y = nx, ny
        k += step
    return x, y


def upright(angle):
    while angle > 90.0:
        angle -= 180.0
    while angle <= -90.0:
        angle += 180.0
    return angle


def label_at(line, guide):
    g1, g2 = guide
    best = None
    for seg_line in line:
        for i in range(len(seg_line) - 1):
            t = intersect(g1, g2, seg_line[i], seg_line[i + 1])
            if t is None:
                continue
            if best is None or t < best[0]:
                best = (t, seg_line, i)
    if best is None:
        return None
    t, seg_line, i = best
    # Position: the crossing itself; angle: chord over +-SMOOTH inches.
    x = g1[0] + t * (g2[0] - g1[0])
    y = g1[1] + t * (g2[1] - g1[1])
    a = seg_line[i]
    b = seg_line[i + 1]
    seg_len = math.hypot(b[0] - a[0], b[1] - a[1])
    frac = math.hypot(x - a[0], y - a[1]) / seg_len if seg_len else 0.0
    bx, by = point_along(seg_line, i, frac, -SMOOTH)
    fx, fy = point_along(seg_line, i, frac, SMOOTH)
    angle = math.degrees(math.atan2(fy - by, fx - bx))
    return x, y, upright(angle)


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    label, contour_path, guide_path = argv[1:]
    contours = read_segments(contour_path)
    guides = [g[:2] for g in read_segments(guide_path) if len(g) >= 2]
    placed = 0
    for guide in guides:
        found = label_at(contours, guide)
        if found is None:
            sys.stderr.write("label %s: guide %s misses the isoline\n"
                             % (label, guide))
            continue
        print("%.4f %.4f %.1f %s" % (found[0], found[1], found[2], label))
        placed += 1
    if not placed:
        sys.stderr.write("label %s: no position found\n" % label)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
