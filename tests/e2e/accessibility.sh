#!/usr/bin/env bash
# Drives one whole design in the real program as a user would (typing, pointer
# moves and clicks with xdotool) and reads N, the zone letter and the three
# zone results back through AT-SPI by the fields' accessible names, then the
# sentence of the rod-height window. The pointer reaches "Далее>>" by
# landing straight on the disabled button, which counts as the page's bare
# surface.
# Usage: VOSTREL_TITLE=TITLE accessibility.sh PATH/TO/vostrel
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
# A session bus of our own, for the accessibility bus launcher.
if [[ -z "${VOSTREL_A11Y_SESSION:-}" ]]; then
    exec env VOSTREL_A11Y_SESSION=1 dbus-run-session -- bash "$0" "$@"
fi
source "$here/xvfb.sh"
source "$here/drive.sh"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[[ -x /usr/bin/python3 ]] && /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    fail "python3-pyatspi is not installed"

work=$(mktemp -d)
CLEANUP+=("$work")
start_xvfb || exit 1
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL= LC_NUMERIC=ru_RU.UTF-8 "$program" >"$work/program.log" 2>&1 &
app=$!
PROGRAM_LOG="$work/program.log" PROGRAM_PID=$app
stop() { kill "$app" "$bus" 2>/dev/null; }
trap 'status=$?; stop; on_exit "$status"' EXIT

main=$(wait_for_window "$VOSTREL_TITLE" 30) || fail "no main window"
drive_building_page "$main" 12 36 10 150 486 3 3 nohover ||
    fail "the building page did not open its windows"
hover "$main" $(page 684 292) # onto the disabled "Далее>>"
drive_rod_page "$main" 20 60 10

read_names=("Среднегодовое число ударов молнии" "Тип зоны защиты" "Вершина защищаемой зоны h0, м"
    "Радиус защиты на уровне земли r0, м" "Радиус защиты rx на высоте hx, м")
expected=("0,02457" "       Б" "  16,6" "  30,6" "  12,1")
output=$(/usr/bin/python3 "$here/read_accessible.py" vostrel "${read_names[@]}") ||
    fail "the program is not on the accessibility bus"
for i in "${!read_names[@]}"; do
    line=$(grep -F -- "${read_names[$i]}"$'\t' <<<"$output")
    [[ "$line" == "${read_names[$i]}"$'\t'"${expected[$i]}" ]] ||
        fail "«${read_names[$i]}» reads «${line#*$'\t'}», expected «${expected[$i]}»"
done

# The rod height for the single catenary: hx = 10, rx = 12 give a cable at
# 17,9 m, and with a span of 60 m supports of 19,9 m.
click "$main" $(page 476 292) # "<<Назад"
hover "$main" $(page 400 292)
click "$main" $(page 116 292) # "Высота молниеотвода"
height=$(wait_for_window "Расчёт высоты молниеотвода" 10) || fail "no rod-height window"
click "$height" 316 26
type_text 10
click "$height" 316 50
type_text 12
click "$height" 316 74
type_text 60
hover "$height" 408 68
click "$height" 252 142
sentence="Высота опор одиночного тросового молниеотвода для зоны Б равна 19,9 м"
sentence+=$'\nтрос на высоте 17,9 м, провес 2 м при пролёте меньше 120 м'
line=$(/usr/bin/python3 "$here/read_accessible.py" vostrel "^Высота опор одиночного тросового") ||
    fail "the program left the accessibility bus"
[[ "$line" == *$'\t'"$sentence" ]] || fail "the rod-height result reads «${line#*$'\t'}»"
echo "PASS: N, the zone letter, the zone and the rod height read back through AT-SPI"
