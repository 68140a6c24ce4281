#!/usr/bin/python3
"""Scalar field of mean annual thunderstorm duration (hours) over the former USSR.

The field is schematic: it reproduces the band layout of the thunderstorm map
(below 10 h in the far north, 10-20 h in the northern taiga and on the Pacific
coast, 20-40 h in the Baltic, the Urals, southern Siberia, the Amur basin and
the arid south, 40-60 h in central European Russia, 60-80 h in the Black Earth
belt and Ukraine, 80 h and more in Ciscaucasia, with local maxima over the
Carpathians, the Caucasus and the Pamir / Tien Shan foothills). It is not a
climatological survey.

Two parts are written, because they are smoothed differently:

  base  - meridional profiles (latitude -> hours) given every few degrees of
          longitude, interpolated in log(hours) and written on a coarse grid;
          make_map.sh smooths it with a Gaussian filter to remove the kinks of
          the piecewise-linear interpolation.
  bumps - orographic maxima, Gaussian in shape, added in hours after the
          smoothing so that their peaks are not flattened.

Usage: field.py base|bumps WEST EAST SOUTH NORTH STEP  > lon lat value
"""
import math
import sys

# Longitude -> list of (latitude, hours) anchors, south to north.
PROFILES = {
    15: [(30, 55), (40, 65), (46, 70), (50, 62), (54, 42), (58, 30), (62, 22),
         (66, 14), (70, 8), (74, 4.5), (84, 2)],
    22: [(34, 55), (40, 66), (46, 72), (50, 64), (53, 48), (55, 40), (57, 33),
         (60, 25), (63, 20), (66, 13), (69, 8), (71.5, 5), (76, 3), (84, 2)],
    27: [(34, 55), (40, 70), (44, 78), (46.5, 75), (49, 68), (51.5, 60),
         (53, 52), (55, 44), (56.5, 38), (59, 30), (61.5, 24), (63.5, 20),
         (66, 12), (68.5, 8), (71, 5), (76, 3), (84, 2)],
    32: [(34, 60), (38, 70), (42, 80), (45, 85), (47, 78), (49.5, 70),
         (52, 60), (54.5, 50), (56.5, 43), (58, 38), (60, 32), (62, 26),
         (64, 21), (65.3, 16), (66.5, 10), (68.1, 6.5), (68.9, 5), (76, 3),
         (84, 2)],
    37: [(34, 60), (40, 75), (43, 88), (45, 86), (47, 78), (49.5, 70),
         (51.5, 62), (54, 52), (56.5, 44), (58.5, 38), (60.5, 30), (62, 24),
         (63.2, 20), (64.4, 15), (65.8, 10), (67.6, 6), (68.7, 5), (73, 4),
         (84, 2)],
    42: [(34, 55), (40, 70), (42, 80), (44.5, 86), (46.5, 78), (48.5, 68),
         (51, 62), (53.5, 54), (56.5, 44), (58.5, 38), (60.5, 30), (62, 24),
         (63.5, 20), (65, 14), (66.2, 10), (67.2, 6.5), (68, 5), (73, 4),
         (84, 2)],
    47: [(34, 40), (38, 48), (41, 52), (43, 60), (45, 45), (46.5, 36),
         (48.5, 40), (50.5, 48), (53, 52), (55.5, 46), (57.5, 40), (59.5, 32),
         (61, 24), (62.5, 20), (64, 15), (66, 10), (67.1, 6.5), (67.9, 5),
         (73, 4), (84, 2)],
    52: [(34, 35), (37, 36), (39, 30), (42, 25), (45, 24), (47, 28), (49, 34),
         (51, 40), (53, 46), (55, 46), (57, 40), (59, 32), (61, 24),
         (62.5, 20), (64, 15), (66, 10), (67.5, 6.5), (68.3, 5), (72, 4),
         (84, 2)],
    57: [(34, 32), (38, 34), (41, 24), (44, 23), (47, 25), (49.5, 32),
         (51.5, 40), (53.5, 46), (55, 44), (57, 38), (59, 30), (61, 23),
         (62, 20), (64, 15), (66, 10), (67.5, 6), (68.6, 5), (72, 4), (84, 2)],
    62: [(34, 30), (38, 28), (41, 24), (44, 23), (47, 25), (50, 30),
         (52.5, 38), (54.5, 42), (56, 38), (58, 30), (60, 24), (61.5, 20),
         (63.5, 15), (65.5, 10), (67, 6.5), (68.8, 5), (72, 4), (84, 2)],
    67: [(34, 30), (37, 36), (40, 32), (43, 24), (46, 24), (49, 27), (52, 32),
         (54.5, 36), (56.5, 32), (58.5, 27), (60.5, 22), (61.5, 20),
         (63.5, 15), (65.5, 10), (67, 7), (69.2, 5), (72, 4), (84, 2)],
    72: [(34, 28), (38, 36), (40.5, 36), (43, 30), (46, 23), (49, 24),
         (52, 28), (54.5, 32), (57, 28), (59.5, 22), (61, 20), (63, 15),
         (65, 10), (67, 7), (69.6, 5), (72, 4), (84, 2)],
    77: [(34, 22), (38, 28), (41, 36), (43, 36), (45, 28), (48, 24), (51, 28),
         (53.5, 33), (56, 30), (58.5, 24), (60.5, 20), (62.5, 15), (64.5, 10),
         (67, 7), (70, 5), (72, 4), (84, 2)],
    82: [(34, 18), (40, 26), (44, 30), (47, 28), (49, 32), (51, 35), (53, 37),
         (55, 33), (57, 28), (59, 23), (60.5, 20), (62.5, 15), (64.5, 10),
         (67, 7), (70.4, 5), (73, 4), (84, 2)],
    87: [(34, 15), (40, 20), (44, 24), (47, 28), (50, 32), (52, 35), (54, 34),
         (56, 30), (58, 25), (60, 21), (61, 20), (63, 15), (65, 10), (67.5, 7),
         (71, 5), (73, 3.5), (84, 2)],
    97: [(34, 10), (40, 15), (45, 22), (49, 28), (52, 32), (54, 30), (56, 27),
         (58, 23), (60, 20), (62, 16), (64.5, 12), (66, 10), (68, 7), (72, 5),
         (76, 3), (84, 2)],
    107: [(34, 15), (40, 18), (45, 22), (49, 26), (52, 30), (54.5, 28),
          (57, 23), (58.8, 20), (61, 16), (63.5, 12), (65.5, 10), (67.5, 7),
          (71.8, 5), (74, 3.5), (84, 2)],
    117: [(34, 20), (42, 22), (46, 24), (50, 28), (53, 28), (55, 24), (57, 20),
          (60, 16), (62.5, 12), (64.5, 10), (66.5, 7), (71.3, 5), (73, 3.5),
          (84, 2)],
    127: [(34, 26), (42, 30), (46, 32), (50, 32), (53, 28), (55.5, 22),
          (57, 20), (59.5, 16), (62, 13), (64, 10), (66, 7), (71.3, 5),
          (73.8, 3.5), (84, 2)],
    132: [(34, 20), (40, 22), (42.5, 18), (44.5, 20), (47, 26), (49.5, 28),
          (52, 25), (54, 21), (55, 20), (57.5, 15), (60, 12), (62.5, 10),
          (65, 7), (70.8, 5), (73.3, 3.5), (84, 2)],
    137: [(34, 18), (40, 15), (43, 12), (45, 14), (47, 18), (49, 22), (51, 21),
          (52.5, 18), (54, 12), (56, 9), (58, 8), (60, 8), (62, 8), (65, 6.5),
          (70.3, 5), (72.8, 3.5), (84, 2)],
    142: [(34, 18), (40, 14), (43, 11), (46, 12), (49, 12), (52, 11), (54, 9),
          (56, 8), (59, 7), (62, 7), (65, 6), (69.8, 5), (71, 3.5), (84, 2)],
    152: [(34, 15), (42, 10), (46, 8), (50, 7), (54, 7), (58, 7), (61, 8),
          (64, 7.5), (67, 6), (69.2, 5), (71, 4), (84, 2)],
    162: [(34, 12), (42, 8), (46, 7), (50, 6.5), (54, 7), (57, 7.5), (60, 7),
          (63, 7), (66, 6), (68.6, 5), (70.5, 4), (84, 2)],
    177: [(34, 10), (50, 6), (58, 6), (62, 6), (65, 6.5), (67, 5.5), (68.3, 5),
          (70, 4), (84, 2)],
    200: [(34, 10), (50, 6), (58, 6), (62, 6), (65, 6.5), (67, 5.5), (68.3, 5),
          (70, 4), (84, 2)],
}

# Local maxima: (lon, lat, sigma_lon_km, sigma_lat_km, added hours).
BUMPS = [
    (24.6, 48.6, 150, 110, 50),   # Carpathians (Transcarpathia, Ciscarpathia)
    (41.8, 44.8, 260, 130, 10),   # Ciscaucasia
    (42.4, 42.4, 170, 110, 80),   # Caucasus, Colchis
    (45.0, 41.2, 140, 80, 20),    # Transcaucasian uplands
    (69.0, 38.9, 200, 140, 80),   # Pamir-Alay (Gissar) foothills
    (72.3, 41.0, 170, 80, 44),    # Fergana, western Tien Shan
    (77.0, 43.1, 120, 80, 26),    # northern Tien Shan foothills
    (84.8, 52.5, 180, 120, 20),   # Altai foothills
]

KM_PER_DEG = 111.2


def _log_interp(anchors, lat):
    """Piecewise-linear interpolation of log(hours) along a profile."""
    if lat <= anchors[0][0]:
        return math.log(anchors[0][1])
    for (la, ha), (lb, hb) in zip(anchors, anchors[1:]):
        if lat <= lb:
            t = (lat - la) / (lb - la)
            return (1 - t) * math.log(ha) + t * math.log(hb)
    return math.log(anchors[-1][1])


_LONS = sorted(PROFILES)


def log_base(lon, lat):
    """Log of the large-scale field: profiles blended linearly in longitude."""
    if lon <= _LONS[0]:
        return _log_interp(PROFILES[_LONS[0]], lat)
    for a, b in zip(_LONS, _LONS[1:]):
        if lon <= b:
            t = (lon - a) / (b - a)
            return ((1 - t) * _log_interp(PROFILES[a], lat)
                    + t * _log_interp(PROFILES[b], lat))
    return _log_interp(PROFILES[_LONS[-1]], lat)


def bumps(lon, lat):
    total = 0.0
    for blon, blat, sx, sy, amp in BUMPS:
        dx = (lon - blon) * KM_PER_DEG * math.cos(math.radians(blat)) / sx
        dy = (lat - blat) * KM_PER_DEG / sy
        r2 = dx * dx + dy * dy
        if r2 < 25.0:
            total += amp * math.exp(-0.5 * r2)
    return total


def frange(a, b, step):
    n = int(round((b - a) / step))
    return [a + i * step for i in range(n + 1)]


def main(argv):
    if len(argv) != 7 or argv[1] not in ("base", "bumps"):
        sys.stderr.write(__doc__)
        return 2
    west, east, south, north, step = map(float, argv[2:])
    func = log_base if argv[1] == "base" else bumps
    out = sys.stdout
    for lat in frange(south, north, step):
        row = ["%.4f %.4f %.5f\n" % (lon, lat, func(lon, lat))
               for lon in frange(west, east, step)]
        out.writelines(row)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
