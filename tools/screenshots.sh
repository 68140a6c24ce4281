#!/usr/bin/env bash
# Takes the screenshots in docs/: runs the Release program under a private X
# server (with openbox for title bars, when installed), drives one design with
# xdotool and captures each window with ImageMagick's import.
# Needs: xvfb xdotool imagemagick (openbox optional). Build first: ./run.sh or
# cmake --build --preset release.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program="$root/build/release/vostrel"
out="$root/docs/screenshots"
source "$root/tests/e2e/xvfb.sh"
# Under openbox xdotool does not always see a new window as visible.
WINDOW_SEARCH=(xdotool search --name .)
mkdir -p "$out"
start_xvfb
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    sleep 1
fi

# Russian regional settings: decimal comma.
LC_ALL= LC_NUMERIC=ru_RU.UTF-8 "$program" >/dev/null 2>&1 &
app=$!
main=$(wait_for_window "Vostrel v1.0" 20)

# Clicks at a point of a window's client area.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.4; }
hover() { xdotool mousemove --window "$1" "$2" "$3"; sleep 0.1; xdotool mousemove --window "$1" $(($2 + 2)) "$3"; sleep 0.3; }
shot() { sleep 0.5; import -window "$1" -frame "$out/$2.png" 2>/dev/null || import -window "$1" "$out/$2.png"; }
# Client coordinates of a point on a page (pages start at 4, 24).
page() { echo $((4 + $1)) $((24 + $2)); }

xdotool windowfocus --sync "$main"
xdotool type --delay 60 "12"; xdotool key Return
xdotool type --delay 60 "36"; xdotool key Return
xdotool type --delay 60 "10"
click "$main" $(page 296 98)            # Edit4: the map opens
map=$(wait_for_window "Карта средней продолжительности гроз в часах" 10)
hover "$map" 400 200
shot "$map" map
click "$map" 150 486                     # 40 h
click "$main" $(page 500 136)           # Memo1: the catalogue opens
types=$(wait_for_window "Выбор типа здания" 10)
for _ in 1 2 3; do click "$types" 362 132; done
shot "$types" building-type
click "$types" 364 164                   # OK
click "$main" $(page 420 248)           # the rod type list
xdotool key Down Down Down Down Return
sleep 0.3
hover "$main" $(page 700 20)            # bare surface: "Далее>>" enabled
hover "$main" $(page 400 292)           # strip: "Высота молниеотвода" enabled
shot "$main" building-page
click "$main" $(page 684 292)           # "Далее>>"
click "$main" $(page 336 34)
xdotool type --delay 60 "20"; xdotool key Return
xdotool type --delay 60 "60"; xdotool key Return
xdotool type --delay 60 "10"
hover "$main" $(page 200 200)           # "Расчёт" enabled
click "$main" $(page 580 292)           # "Расчёт"
shot "$main" rod-page
click "$main" $(page 476 292)           # "<<Назад"
click "$main" $(page 116 292)           # "Высота молниеотвода"
height=$(wait_for_window "Расчёт высоты молниеотвода" 10)
click "$height" 322 26
xdotool type --delay 60 "10"
click "$height" 322 50
xdotool type --delay 60 "12"
hover "$height" 420 70
click "$height" 252 116
shot "$height" rod-height
kill "$app"
echo "screenshots in $out"
