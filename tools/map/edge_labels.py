#!/usr/bin/python3
"""Graticule labels for a rectangular conic frame.

GMT annotates an oblique (rectangular) conic frame wherever a grid line meets
any side, which puts parallels on the top edge and crowds the corners. This
helper places the labels the way the map needs them: meridians where they cross
the top edge, parallels where they cross the left and right edges.

"edges W H N" prints N+1 points along each of the top, left and right edges
in frame inches ("x y side"). The caller converts them to geographic
coordinates with "gmt mapproject -I" and feeds "x y side lon lat" records to
"labels", which writes GMT text records ("x y justify label", frame inches)
and short outward tick segments at each labelled crossing.

Usage:
  edge_labels.py edges W H N
  edge_labels.py labels W H LON_FIRST LON_LAST LON_STEP LAT1,LAT2,... \
      TEXTFILE TICKFILE < points
"""
import sys

GAP = 0.05   # inches between the frame and the label
TICK = 0.04  # inches of the outward tick at each labelled crossing


def edges(width, height, n):
    for i in range(n + 1):
        t = i / n
        print("%.5f %.5f top" % (t * width, height))
    for i in range(n + 1):
        t = i / n
        print("%.5f %.5f left" % (0.0, t * height))
    for i in range(n + 1):
        t = i / n
        print("%.5f %.5f right" % (width, t * height))


def crossings(points, coord, values):
    """Linear-interpolated positions along a polyline where coord hits values.

    points: list of (x, y, lon, lat); coord: 2 for lon, 3 for lat.
    """
    found = []
    for a, b in zip(points, points[1:]):
        va, vb = a[coord], b[coord]
        if coord == 2 and abs(vb - va) > 180:   # wrapped longitude
            continue
        for v in values:
            if va == vb or not (min(va, vb) <= v <= max(va, vb)):
                continue
            t = (v - va) / (vb - va)
            found.append((v, a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])))
    # one crossing per value (a value can repeat at a shared vertex)
    seen, unique = set(), []
    for v, x, y in found:
        if v not in seen:
            seen.add(v)
            unique.append((v, x, y))
    return unique


def labels(width, height, lon_first, lon_last, lon_step, lats,
           text_path, tick_path, lines):
    side = {"top": [], "left": [], "right": []}
    for line in lines:
        f = line.split()
        if len(f) < 5:
            continue
        x, y, lon, lat = float(f[0]), float(f[1]), float(f[3]), float(f[4])
        side[f[2]].append((x, y, lon % 360.0, lat))

    lons = []
    v = lon_first
    while v <= lon_last + 1e-9:
        lons.append(v)
        v += lon_step

    texts, ticks = [], []
    for lon, x, _ in crossings(side["top"], 2, lons):
        if 0.1 < x < width - 0.1:
            texts.append("%.4f %.4f CB %d@." % (x, height + GAP, round(lon)))
            ticks.append(((x, height), (x, height + TICK)))
    for lat, _, y in crossings(side["left"], 3, lats):
        if 0.08 < y < height - 0.08:
            texts.append("%.4f %.4f RM %d@." % (-GAP, y, round(lat)))
            ticks.append(((0.0, y), (-TICK, y)))
    for lat, _, y in crossings(side["right"], 3, lats):
        if 0.08 < y < height - 0.08:
            texts.append("%.4f %.4f LM %d@." % (width + GAP, y, round(lat)))
            ticks.append(((width, y), (width + TICK, y)))

    with open(text_path, "w") as out:
        out.write("\n".join(texts) + "\n")
    with open(tick_path, "w") as out:
        for (x0, y0), (x1, y1) in ticks:
            out.write(">\n%.4f %.4f\n%.4f %.4f\n" % (x0, y0, x1, y1))
    return len(texts)


def main(argv):
    if len(argv) == 5 and argv[1] == "edges":
        edges(float(argv[2]), float(argv[3]), int(argv[4]))
        return 0
    if len(argv) == 10 and argv[1] == "labels":
        lats = [float(v) for v in argv[7].split(",")]
        n = labels(float(argv[2]), float(argv[3]), float(argv[4]),
                   float(argv[5]), float(argv[6]), lats, argv[8], argv[9],
                   sys.stdin.readlines())
        return 0 if n else 1
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
