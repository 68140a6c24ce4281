#!/usr/bin/env bash
# Makes a whole design in the real program, clicks "Отчёт" and expects an
# untitled LibreOffice Writer window holding the filled report.
# Usage: VOSTREL_TITLE=TITLE report_in_writer.sh PATH/TO/vostrel
set -uo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"
source "$here/drive.sh"
source "$here/office.sh"
office_work
CLEANUP+=("$work")

# The wrapper logs how the program starts LibreOffice.
cat >"$work/bin/soffice" <<WRAP
#!/bin/sh
printf "%s\\n" "\$*" >>"$work/soffice.log"
exec "$office" "-env:UserInstallation=file://$work/profile" "\$@"
WRAP
chmod +x "$work/bin/soffice"

start_xvfb || exit 1
stop() {
    pkill -f "UserInstallation=file://$work/profile" 2>/dev/null
    [[ -n "${app:-}" ]] && kill "$app" 2>/dev/null
}
fail() {
    echo "FAIL: $*" >&2
    stop
    exit 1
}

start_program
main=$(wait_for_window "$VOSTREL_TITLE" 30) || fail "no main window"
drive_building_page "$main" 12 36 10 150 486 3 3 || fail "the building page did not open its windows"
drive_rod_page "$main" 20 60 10
click "$main" $(page 684 292) # "Отчёт"

writer=$(wait_for_window "Untitled 1 - LibreOffice Writer" 120) || {
    cat "$work/soffice.log" >&2 2>/dev/null
    fail "no untitled Writer window"
}
grep -q -- "^-n $work/cache/vostrel/reports/otchet4-.*\.rtf\$" "$work/soffice.log" ||
    fail "Writer was not given a new private file: $(cat "$work/soffice.log")"

# The window's text, through the clipboard.
sleep 2
xdotool windowfocus --sync "$writer"
xdotool key --clearmodifiers ctrl+a
sleep 0.5
xdotool key --clearmodifiers ctrl+c
sleep 1
text=$(xclip -o -selection clipboard 2>/dev/null)
# Writer's plain text writes each of several blanks in a row as a six-per-em
# space (U+2006) and a blank.
sixper=$(printf '\xe2\x80\x86')
text=${text//"$sixper "/ }
for value in "0,02457" "  16,6" "  30,6" "  12,1" "24,2" "61,2" "20 − 2 = 18,0 м" "       Б" \
    "h0 = 0,92 · 18 = 16,6 м"; do
    [[ "$text" == *"$value"* ]] || fail "the report lacks «$value»: $text"
done
[[ "$text" == *"##"* || "$text" == *"#2r"* ]] && fail "tags left in the report: $text"
stop
echo "PASS: the filled report is open in an untitled Writer window"
