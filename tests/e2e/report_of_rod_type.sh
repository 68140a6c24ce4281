#!/usr/bin/env bash
# Makes a whole design for one rod type in the real program (12 x 36 x 10 m,
# 40 h of thunderstorms, the fourth catalogue row: zone Б), types the rod
# inputs, clicks "Расчёт" and "Отчёт", and checks the report the program
# hands to the word processor: its template is the rod type's, and its text,
# converted by LibreOffice, holds every expected value, the building's data,
# no tag and no sentence of a missing or stale calculation; converted to PDF,
# it holds one image, the drawing of the zone, and the verdict on the building.
# A wrapper named soffice first on PATH takes the program's "soffice -n FILE"
# and converts FILE headless to text instead of opening a Writer window.
# Usage: VOSTREL_TITLE=TITLE report_of_rod_type.sh PATH/TO/vostrel ROD_INDEX INPUT... -- EXPECTED...
# ROD_INDEX is the rod type's row in the list, from 0. The EXPECTED texts
# must occur in the report in their order; in them a line break (as between
# a table's caption and value cells) or a tab is written "|".
set -uo pipefail
program=$1
index=$2
shift 2
inputs=()
while (($#)) && [[ $1 != -- ]]; do
    inputs+=("$1")
    shift
done
(($#)) && shift
expected=("$@")
if ((${#inputs[@]} == 0 || ${#expected[@]} == 0)); then
    echo "usage: $0 PROGRAM ROD_INDEX INPUT... -- EXPECTED..." >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
source "$here/drive.sh"
source "$here/office.sh"
office_work
[[ -n "${KEEP_WORK:-}" ]] || CLEANUP+=("$work")
mkdir -p "$work/converting" "$work/txt"
# The text appears in txt/ only when complete: converted apart, then moved.
cat >"$work/bin/soffice" <<WRAP
#!/bin/sh
printf "%s\\n" "\$*" >>"$work/soffice.log"
[ "\$#" -eq 2 ] && [ "\$1" = -n ] || exit 1
echo \$\$ >"$work/converter.pid"
"$office" "-env:UserInstallation=file://$work/profile" --headless \\
    --convert-to pdf --outdir "$work/converting" "\$2" >>"$work/convert.log" 2>&1
"$office" "-env:UserInstallation=file://$work/profile" --headless \\
    --convert-to "txt:Text (encoded):UTF8" --outdir "$work/converting" "\$2" \\
    >>"$work/convert.log" 2>&1
mv "$work"/converting/*.pdf "$work/txt/"
mv "$work"/converting/*.txt "$work/txt/"
WRAP
chmod +x "$work/bin/soffice"

start_xvfb || exit 1
stop() {
    [[ -n "${app:-}" ]] && kill "$app" 2>/dev/null
    # A conversion still running: the wrapper's shell and the office it started.
    if [[ -s "$work/converter.pid" ]]; then
        local shell
        shell=$(cat "$work/converter.pid")
        pkill -P "$shell" 2>/dev/null
        kill "$shell" 2>/dev/null
    fi
}
fail() {
    echo "FAIL: $*" >&2
    for log in soffice convert; do
        [[ -s "$work/$log.log" ]] && { echo "--- $log.log" >&2; cat "$work/$log.log" >&2; }
    done
    stop
    exit 1
}

start_program
main=$(wait_for_window "$VOSTREL_TITLE" 30) || fail "no main window"
drive_building_page "$main" 12 36 10 150 486 3 "$index" ||
    fail "the building page did not open its windows"
drive_rod_page "$main" "${inputs[@]}"
click "$main" $(page 684 292) # "Отчёт"

deadline=$((SECONDS + 120))
while ! compgen -G "$work/txt/*.txt" >/dev/null; do
    ((SECONDS < deadline)) || fail "no report was converted to text within 120 s"
    sleep 0.5
done
code=$((index + 1))
grep -q -- "^-n $work/cache/vostrel/reports/otchet$code-[^/]*\.rtf\$" "$work/soffice.log" ||
    fail "the word processor was not given a new private copy of otchet$code.rtf: $(cat "$work/soffice.log")"

text=$(cat "$work"/txt/*.txt)
text=${text#$'\xef\xbb\xbf'}
text=${text//$'\r'/}
# Writer's text export writes each run of several blanks as a six-per-em
# space (U+2006) and a blank.
sixper=$(printf '\xe2\x80\x86')
text=${text//"$sixper "/ }
# In order: the building's data as the building page gave them; then, from
# the start again, the rod type's.
building=("Ширина здания S, м|12|" "Длина здания L, м|36|" "Наибольшая высота здания h, м|10|"
    "Средняя продолжительность гроз в год, ч|40|" "N = 0,02457." "Категория молниезащиты|III|"
    "Тип зоны защиты|")
in_order() {
    local rest=${text//$'\n'/|} value
    rest=${rest//$'\t'/|}
    for value; do
        [[ "$rest" == *"$value"* ]] || fail "the report lacks «$value» where expected: $text"
        rest=${rest#*"$value"}
    done
}
in_order "${building[@]}"
in_order "${expected[@]}"
[[ "$text" == *"##"* || "$text" =~ \#2[[:alpha:]] ]] && fail "tags left in the report: $text"
# The drawing: one image in the PDF, the verdict on the building in the text.
if command -v pdfimages >/dev/null; then
    images=$(pdfimages -list "$work"/txt/*.pdf 2>/dev/null | tail -n +3 | awk '$3 == "image"' | wc -l)
    [[ "$images" == 1 ]] || fail "the report holds $images images, not the one drawing"
else
    fail "pdfimages (poppler-utils) is not installed"
fi
[[ "$text" == *"Здание в зоне защиты на своей высоте h = 10,0 м."* ]] || fail "no verdict on the building: $text"
# Page breaks: no page ends with a heading, a table's subheading or a line
# that introduces what follows (":"), and the signatures stand on the page of
# the conclusion.
subheads="Торцевые области|Внутренняя область|Торцевая область (первого|второго) молниеотвода|"
subheads+="На уровне земли|На высоте hx|Зона [АБ]"
IFS=$'\f' read -r -d '' -a pages < <(pdftotext -layout "$work"/txt/*.pdf - 2>/dev/null)
signed=
for ((p = 0; p < ${#pages[@]}; p++)); do
    page=${pages[p]}
    last=$(grep -v -e '^[[:space:]]*$' -e 'Расчёт молниезащиты по РД 34.21.122-87. Страница' \
        <<<"$page" | tail -n 1 | sed 's/^[[:space:]]*//; s/[[:space:]]*$//')
    if ((p < ${#pages[@]} - 2)) && [[ "$last" =~ ^[0-9]+\.\ |:$ || "$last" =~ ^($subheads)$ ]]; then
        fail "page $((p + 1)) ends with «$last»"
    fi
    if [[ "$page" == *"Расчёт выполнил"* ]]; then
        [[ "$page" == *"Заключение"* ]] || fail "the signatures are not on the page of the conclusion"
        signed=1
    fi
done
[[ -n "$signed" ]] || fail "no signature lines in the report's PDF"
for sentence in "Внимание:" "Расчёт зоны защиты не выполнен" "Здание не проверено" \
    "Чертёж зоны защиты не выполнен"; do
    [[ "$text" == *"$sentence"* ]] && fail "the report says «$sentence»: $text"
done
stop
echo "PASS: the report of rod type $code holds the design's values"
