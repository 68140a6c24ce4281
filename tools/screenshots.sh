#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots: runs the Release program under a
# private X server (with openbox for title bars, when installed), drives one
# design as the end-to-end tests do, and captures each window with
# ImageMagick's import. Then the rod page of every rod type after "Расчёт"
# with its worked example: rod-page-1.png to rod-page-5.png in the list's
# order (rod-page.png is the single catenary's, as rod-page-4.png).
# Needs: xvfb xdotool imagemagick (openbox optional). Build first (./run.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/screenshots"
source "$root/tests/e2e/xvfb.sh"
source "$root/tests/e2e/drive.sh"
# Under openbox xdotool does not always see a new window as visible.
WINDOW_SEARCH=(xdotool search --name .)
mkdir -p "$out"

# The rod page's picture takes the name in rod_page_name while it is set.
rod_page_name=
on_step() {
    local name=$1
    [[ "$name" == rod-page && -n "$rod_page_name" ]] && name=$rod_page_name
    sleep 0.5
    import -window "$2" -frame "$out/$name.png" 2>/dev/null || import -window "$2" "$out/$name.png"
}

start_xvfb
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    sleep 1
fi
# Russian regional settings for numbers: decimal comma.
LC_ALL= LC_NUMERIC=ru_RU.UTF-8 "$root/build/release/vostrel" >/dev/null 2>&1 &
app=$!
# The main window's title holds the version of project() in CMakeLists.txt.
title="Vostrel v$(sed -n 's/^project(vostrel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
main=$(wait_for_window "$title" 20)
drive_building_page "$main" 12 36 10 150 486 3 3   # 40 h, the fourth row, catenary
drive_rod_page "$main" 20 60 10
# Each rod type's worked example, by its row of the list; the single
# catenary last, for the rod-height window below.
rod_inputs=([0]="30 10" [1]="30 40 10" [2]="30 20 35 8" [4]="22 60 25 6" [3]="20 60 10")
for index in 0 1 2 4 3; do
    click "$main" $(page 476 292)                  # "<<Назад"
    pick_rod_type "$main" "$index"
    rod_page_name=rod-page-$((index + 1))
    drive_rod_page "$main" ${rod_inputs[$index]}
done
rod_page_name=
click "$main" $(page 476 292)                      # "<<Назад"
click "$main" $(page 116 292)                      # "Высота молниеотвода"
height=$(wait_for_window "Расчёт высоты молниеотвода" 10)
click "$height" 322 26
type_text 10
click "$height" 322 50
type_text 12
click "$height" 316 74
type_text 60
hover "$height" 420 70
click "$height" 252 142
on_step rod-height "$height"
kill "$app"
# The progress window shows only while a report is made: rendered apart.
cmake --build --preset release --target grab_progress >/dev/null
QT_QPA_PLATFORM=offscreen "$root/build/release/tools/bench/grab_progress" "$out/progress.png"
echo "screenshots in $out"
