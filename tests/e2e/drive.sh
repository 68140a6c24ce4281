# Drives the real program as a user does, with xdotool: typing, pointer moves
# and clicks at the controls' places. Source after xvfb.sh. Define
# on_step NAME WINDOW to act at each stage (the screenshot script takes a
# picture there).

on_step() { :; }

# click WINDOW X Y: a click at a point of the window's client area.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.4; }
# hover WINDOW X Y: two small pointer moves there.
hover() {
    xdotool mousemove --window "$1" "$2" "$3"
    sleep 0.1
    xdotool mousemove --window "$1" $(($2 + 2)) "$3"
    sleep 0.3
}
# page X Y: client coordinates of a point of a main-window page, which lies
# below the menu bar (measured by drive_building_page).
MENU_HEIGHT=0
page() { echo $((4 + $1)) $((24 + MENU_HEIGHT + $2)); }
# measure_menu MAIN: the menu bar's height, by which the main window is
# taller than its 335 pixels of pages.
measure_menu() {
    local height
    height=$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p')
    [[ -n "$height" ]] && MENU_HEIGHT=$((height - 335))
}
type_text() { xdotool type --delay 40 "$1"; }

# drive_building_page MAIN S L H LEGEND_X LEGEND_Y ROWS_FORWARD ROD_INDEX [nohover]
# Types the dimensions, picks the legend entry at (LEGEND_X, LEGEND_Y) of the
# map, steps ROWS_FORWARD rows in the catalogue and confirms, picks the rod
# type, and (unless told "nohover") enables "Далее>>" and "Высота
# молниеотвода" by moves over the bare frame and page.
drive_building_page() {
    local main=$1 map types i
    measure_menu "$main"
    xdotool windowfocus --sync "$main"
    click "$main" $(page 296 26)
    type_text "$2"; xdotool key Return
    type_text "$3"; xdotool key Return
    type_text "$4"
    click "$main" $(page 296 98)
    map=$(wait_for_window "Карта средней продолжительности гроз в часах" 10) || return 1
    hover "$map" 400 200
    on_step map "$map"
    click "$map" "$5" "$6"
    click "$main" $(page 500 136)
    types=$(wait_for_window "Выбор типа здания" 10) || return 1
    for ((i = 0; i < $7; i++)); do click "$types" 362 132; done
    on_step building-type "$types"
    click "$types" 364 164
    click "$main" $(page 420 248)
    for ((i = 0; i <= $8; i++)); do xdotool key Down; done
    xdotool key Return
    sleep 0.3
    if [[ "${9:-}" != nohover ]]; then
        hover "$main" $(page 700 20)
        hover "$main" $(page 400 292)
    fi
    on_step building-page "$main"
}

# drive_rod_page MAIN INPUT...: "Далее>>", the rod type's inputs typed from
# the first one on (Enter moves to the next visible input), "Расчёт".
drive_rod_page() {
    local main=$1 i
    shift
    click "$main" $(page 684 292)
    click "$main" $(page 336 34)
    for ((i = 1; i <= $#; i++)); do
        ((i > 1)) && xdotool key Return
        type_text "${!i}"
    done
    hover "$main" $(page 200 200)
    click "$main" $(page 580 292)
    on_step rod-page "$main"
}

# pick_rod_type MAIN INDEX: on the building page, the rod type of that row of
# the list (from 0) by the arrow keys, then "Далее>>" enabled by moves over
# the bare frame and page.
pick_rod_type() {
    local main=$1 i
    click "$main" $(page 420 248)
    for ((i = 0; i < 6; i++)); do xdotool key Up; done
    for ((i = 0; i < $2; i++)); do xdotool key Down; done
    xdotool key Return
    sleep 0.3
    hover "$main" $(page 700 20)
    hover "$main" $(page 400 292)
}
