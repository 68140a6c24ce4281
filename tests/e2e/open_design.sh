#!/usr/bin/env bash
# "vostrel FILE.vostrel" with a design of two rods: the program computes the
# design again from the file and shows it; N, the zone letter, the rod page's
# inputs and all six results are read back through AT-SPI, the title names
# the file. The file is written with "." and read under Russian settings.
# Usage: VOSTREL_TITLE=TITLE open_design.sh PATH/TO/vostrel
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
# A session bus of our own, for the accessibility bus launcher.
if [[ -z "${VOSTREL_A11Y_SESSION:-}" ]]; then
    exec env VOSTREL_A11Y_SESSION=1 dbus-run-session -- bash "$0" "$@"
fi
source "$here/xvfb.sh"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[[ -x /usr/bin/python3 ]] && /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    fail "python3-pyatspi is not installed"

work=$(mktemp -d)
CLEANUP+=("$work")
cat >"$work/Две опоры.vostrel" <<'JSON'
{"format": "vostrel-design", "version": 1,
 "building": {"width": "12", "length": "36", "height": "10"},
 "thunderstormHours": 40,
 "buildingType": 4,
 "rodType": 2,
 "rodInputs": ["30", "40", "10.0"],
 "calculated": true}
JSON

start_xvfb || exit 1
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LC_ALL= LC_NUMERIC=ru_RU.UTF-8 \
    "$program" "$work/Две опоры.vostrel" >/dev/null 2>&1 &
app=$!
stop() { kill "$app" "$bus" 2>/dev/null; }
trap 'stop; on_exit' EXIT

wait_for_window "Две опоры — $VOSTREL_TITLE" 30 >/dev/null ||
    fail "no main window titled by the file"

names=("Среднегодовое число ударов молнии" "Тип зоны защиты" "Расстояние между молниеотводами L, м"
    "Высота зоны защиты hx, м" "Вершина защищаемой зоны h0, м" "Радиус защиты на уровне земли r0, м"
    "Радиус защиты rx на высоте hx, м" "Высота зоны посередине между молниеотводами hc, м"
    "Полуширина зоны посередине на уровне земли rc, м"
    "Полуширина зоны посередине на высоте hx rcx, м")
expected=("0,02457" "       Б" "40" "10,0" "  27,6" "  45,0" "  28,7" "  26,2" "  45,0" "  27,8")
output=$(/usr/bin/python3 "$here/read_accessible.py" vostrel "${names[@]}") ||
    fail "the program is not on the accessibility bus"
for i in "${!names[@]}"; do
    line=$(grep -F -- "${names[$i]}"$'\t' <<<"$output")
    [[ "$line" == "${names[$i]}"$'\t'"${expected[$i]}" ]] ||
        fail "«${names[$i]}» reads «${line#*$'\t'}», expected «${expected[$i]}»"
done
echo "PASS: the two-rod design opened from its file shows its inputs and results over AT-SPI"
