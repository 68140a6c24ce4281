#!/usr/bin/env bash
# Builds the .deb, checks its dependencies and lintian's verdict, unpacks it
# into a scratch root and starts the unpacked program from elsewhere: it must
# find its catalogue and show its main window.
# Usage: VOSTREL_TITLE=TITLE package.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/xvfb.sh"

work=$(mktemp -d)
CLEANUP+=("$work")
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/out/vostrel_*.deb 2>/dev/null | head -n 1)
[[ -n "$deb" ]] || fail "no package was made"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libsqlite3-0 qt6-translations-l10n libjpeg62-turbo libc6; do
    [[ ",$depends," == *" $needed "* || ",$depends," == *", $needed"[\ ,]* || "$depends" == "$needed"* ]] ||
        fail "Depends lacks $needed: $depends"
done
[[ "$(dpkg-deb -f "$deb" Recommends)" == *libreoffice-writer* ]] || fail "LibreOffice is not recommended"

if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 ||
        { cat "$work/lintian.log" >&2; fail "lintian reports errors"; }
    grep -E '^[EW]:' "$work/lintian.log" || true
else
    fail "lintian is not installed"
fi

dpkg -x "$deb" "$work/root"
for file in usr/bin/vostrel usr/share/vostrel/db1.sqlite "usr/share/vostrel/отчёт/otchet4.rtf" \
    usr/share/applications/vostrel.desktop usr/share/icons/hicolor/256x256/apps/vostrel.png \
    usr/share/doc/vostrel/copyright; do
    [[ -f "$work/root/$file" ]] || fail "the package lacks /$file"
done
# The package's description, manual page and changelog speak of every rod
# type and of the drawing, not of the single catenary alone.
docs=("$(dpkg-deb -f "$deb" Description)"
    "$(zcat "$work/root/usr/share/man/man1/vostrel.1.gz")"
    "$(zcat "$work/root/usr/share/doc/vostrel/changelog.Debian.gz")")
for text in "${docs[@]}"; do
    for words in "single rod" "two rods" "double catenary" "PNG, SVG"; do
        [[ "$(tr -s ' \n' '  ' <<<"$text")" == *"$words"* ]] ||
            fail "«$words» missing from: ${text:0:200}"
    done
done

start_xvfb || exit 1
cd / || exit 1
"$work/root/usr/bin/vostrel" >"$work/program.log" 2>&1 &
app=$!
PROGRAM_LOG="$work/program.log" PROGRAM_PID=$app
if ! wait_for_window "$VOSTREL_TITLE" 30; then
    kill "$app" 2>/dev/null
    fail "the unpacked program showed no main window"
fi
kill "$app"
echo "PASS: $(basename "$deb") is lintian-clean and its program starts from /"
