#!/bin/bash
# Draws resources/map.jpg: the schematic map of mean annual thunderstorm
# duration over the former USSR, with the isoline legend below it.
#
# Needs (Debian 12): gmt gmt-gshhg-low gmt-dcw ghostscript python3-pil
#                    fonts-dejavu-core
# Run from anywhere:  tools/map/make_map.sh
# The program itself only uses the committed JPEG; this script is needed only
# to redraw it.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
OUT="$ROOT/resources/map.jpg"
PY=/usr/bin/python3          # Debian's interpreter, where python3-pil lives

for tool in gmt gs "$PY"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
"$PY" -c 'import PIL' 2>/dev/null || { echo "missing: python3-pil" >&2; exit 1; }

WORK=$(mktemp -d)
# MAP_KEEP_WORK=1 keeps the intermediate grids and rasters to look at.
if [ "${MAP_KEEP_WORK:-0}" = 1 ]; then
    echo "work files kept in $WORK" >&2
else
    trap 'rm -rf "$WORK"' EXIT
fi
cd "$WORK"
export GMT_SESSION_NAME=vostrel_map_$$
export GMT_TMPDIR="$WORK"

# ---------------------------------------------------------------- geometry --
# Equidistant conic on standard parallels 35/55 N, central meridian 100 E:
# the usual look of an atlas map of the USSR, with parallels as concentric arcs.
# The frame is a rectangle given in projected km from the projection centre
# (100 E, 60 N); it reaches from the Carpathians to the Bering Strait and from
# Franz Josef Land down to the Pamir. Its proportions match W_IN x H_IN, so the
# bottom edge follows from the other three.
PROJ=D100/60/35/55
XL=-5150; XR=3900; YT=2940   # km
W_IN=6.94; H_IN=4.39         # frame size, inches (at 100 dpi: 694 x 439 px)
CANVAS_W=7.5; CANVAS_H=4.64  # map area of the final picture, 750 x 464 px
FRAME_X=0.28; FRAME_Y=0.05   # frame origin inside the canvas
DPI=100
YB=$(awk -v l="$XL" -v r="$XR" -v t="$YT" -v w="$W_IN" -v h="$H_IN" \
    'BEGIN { printf "%.3f", t - (r - l) * h / w }')
J="-J$PROJ/${W_IN}i"
R="-R$XL/$XR/$YB/$YT+uk"
GRID_R=10/200/25/88          # lon/lat box of the field grids

# The fifteen union republics (DCW holds present-day countries).
USSR=RU,UA,BY,MD,EE,LV,LT,GE,AM,AZ,KZ,UZ,TM,KG,TJ

SEA=234/242/248
LAND_OTHER=238/238/236
LAND_USSR=248/242/222
COAST=95/125/155
RIVER=160/190/215

# Isoline levels and their colours; the legend uses the same table.
LEVELS="5:170/11/29 10:205/62/203 20:172/13/28 40:7/49/156 \
60:131/156/229 80:86/219/120 100:250/207/14 140:173/14/27"

# ------------------------------------------------------------ scalar field --
# The USSR outline as polygons; DCW returns longitudes east of 180 as negative
# values, which are moved to 180..190 so the polygons stay continuous.
gmt coast -E$USSR -M -R$GRID_R -Dl \
    | awk 'BEGIN { OFS = "\t" } /^>/ { print; next } { if ($1 < 0) $1 += 360; print }' \
    > ussr.txt
gmt grdmask ussr.txt -R$GRID_R -I0.2 -fg -NNaN/1/1 -Gmask.nc

# Large-scale field on a 0.5 degree grid, smoothed by a 600 km Gaussian,
# then resampled to 0.2 degree; the local maxima are added afterwards and the
# result is blanked outside the USSR so that isolines and their labels stay on
# its territory.
"$PY" "$HERE/field.py" base 10 200 25 88 0.5 \
    | gmt xyz2grd -R$GRID_R -I0.5 -fg -Gbase.nc
gmt grdfilter base.nc -Fg600 -D4 -Gbase_smooth.nc
gmt grdsample base_smooth.nc -I0.2 -Gbase_fine.nc
"$PY" "$HERE/field.py" bumps 10 200 25 88 0.2 \
    | gmt xyz2grd -R$GRID_R -I0.2 -fg -Gbumps.nc
gmt grdmath base_fine.nc EXP bumps.nc ADD mask.nc MUL = hours.nc

# ------------------------------------------------------- isoline labels ----
# Labels go where an isoline crosses the short guide segments (lon/lat pairs)
# listed for its level: spread along the long northern lines, and on
# different sides of the nested loops so that they do not pile up.
label_guides() {
    case $1 in
        5)   echo 100/67/100/77,152/64/152/73 ;;
        10)  echo 75/60/75/70,121/59/121/68 ;;
        20)  echo 50/57/50/68,95/55/95/65,128/52/128/62 ;;
        40)  echo 44/53/44/62,84.8/52.5/84.8/57,77.5/42/77.5/47 ;;
        60)  echo 36/48/36/55,69/38.9/74/41.5 ;;
        80)  echo 34/44/34/49,41.5/44.5/41.5/48,69/38.9/64/38.9 ;;
        100) echo 42.4/42.4/46.5/41,24.6/48.6/24.6/51,69/38.9/69/42 ;;
        140) echo 42.4/42.4/45/42.4 ;;
    esac
}
for entry in $LEVELS; do
    level=${entry%%:*}
    gmt grdcontour hours.nc -C$level, -Q6 -D \
        | gmt mapproject $J $R -Di > contour_$level.txt
    label_guides $level | tr ',' '\n' \
        | awk -F/ '{ print ">"; print $1, $2; print $3, $4 }' \
        | gmt mapproject $J $R -Di > guides_$level.txt
    "$PY" "$HERE/contour_labels.py" $level contour_$level.txt guides_$level.txt \
        > labels_$level.txt
done

# ---------------------------------------------------------- graticule text --
"$PY" "$HERE/edge_labels.py" edges $W_IN $H_IN 4000 > edges.txt
gmt mapproject edges.txt -I -Di $J $R -o0,1 > edges_geo.txt
paste edges.txt edges_geo.txt \
    | "$PY" "$HERE/edge_labels.py" labels $W_IN $H_IN 20 180 20 40,50,60,70,80 \
        edge_text.txt edge_ticks.txt

# ------------------------------------------------------------------ map ----
gmt begin map ps
gmt set PS_MEDIA ${CANVAS_W}ix${CANVAS_H}i MAP_ORIGIN_X 0 MAP_ORIGIN_Y 0 \
    PS_PAGE_COLOR white MAP_FRAME_TYPE plain MAP_FRAME_PEN 0.7p,50/50/50 \
    MAP_GRID_PEN_PRIMARY 0.3p,165/180/195 MAP_TICK_LENGTH_PRIMARY 0p \
    PS_LINE_JOIN round PS_LINE_CAP round

# Land and sea; the union is filled in its own colour. Its outline is drawn
# thick first and the fill then covers the inner half of it, which hides the
# borders between the republics; repainting the sea removes the outer half
# along the coast, so what remains is the land border of the union.
gmt coast $R $J -Dl -A500 -G$LAND_OTHER -S$SEA -X${FRAME_X}i -Y${FRAME_Y}i
gmt coast $R $J -Dl -E$USSR+p2.4p,70/70/70
gmt coast $R $J -Dl -E$USSR+g$LAND_USSR
gmt coast $R $J -Dl -A500 -S$SEA
gmt basemap $R $J -Bxg10 -Byg10 -Bwesn
gmt coast $R $J -Dl -A500 -I1/0.35p,$RIVER -N1/0.3p,150/150/150 -W1/0.35p,$COAST \
    -W2/0.3p,$COAST

# Isolines, each level in its own colour, clipped to the union's territory.
gmt coast $R $J -Dl -E$USSR+c
for entry in $LEVELS; do
    level=${entry%%:*}
    colour=${entry#*:}
    gmt grdcontour hours.nc $R $J -C$level, -W1.3p,$colour -Q6
done
gmt coast -Q

# Isoline labels, on a patch of land colour that also keeps a neighbouring
# isoline from running through the number where loops crowd.
for entry in $LEVELS; do
    level=${entry%%:*}
    colour=${entry#*:}
    gmt text labels_$level.txt -R0/$W_IN/0/$H_IN -Jx1i \
        -F+a+f7p,Helvetica-Bold,$colour+jMC -G$LAND_USSR -C0.6p/0.3p
done

# Frame; graticule labels (placed by edge_labels.py) with short ticks.
gmt basemap $R $J -Bwesn
gmt plot edge_ticks.txt -R0/$W_IN/0/$H_IN -Jx1i -W0.6p,50/50/50 -N
gmt text edge_text.txt -R0/$W_IN/0/$H_IN -Jx1i -F+f8p,Helvetica,50/50/50+j -N
gmt end

# The page is the canvas, so the raster is exactly 750 x 464 px (no cropping).
gmt psconvert map.ps -Tg -E$DPI -Qt4 -Qg4 -Fmap

# ------------------------------------------------------- legend and output --
# The picture replaces the old one only after it passes the checks.
"$PY" "$HERE/compose.py" map.png map.jpg "$LEVELS"
"$PY" "$HERE/check_map.py" map.jpg
mkdir -p "$(dirname "$OUT")"
cp map.jpg "$OUT"
echo "wrote $OUT ($(stat -c %s "$OUT") bytes)"
