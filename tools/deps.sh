#!/usr/bin/env bash
# Installs from Debian's packages whatever of the given package set is missing.
# Usage: tools/deps.sh build|test|bench
set -euo pipefail

# LibreOffice Writer shows the report (the full package, not -nogui, which
# would take a desktop Writer away), set in Liberation Serif.
build=(build-essential cmake ninja-build ccache pkg-config
       qt6-base-dev qt6-svg-dev qt6-translations-l10n libsqlite3-dev libjpeg-dev libpng-dev sqlite3
       libreoffice-writer fonts-liberation2)
test=("${build[@]}" xvfb xauth xdotool xclip x11-utils lintian
      at-spi2-core python3-pyatspi dbus-daemon clang libclang-rt-14-dev libx11-dev
      poppler-utils clang-format)

bench=("${build[@]}" xvfb xauth xdotool libx11-dev bc)

case "${1:-}" in
    build) wanted=("${build[@]}") ;;
    test) wanted=("${test[@]}") ;;
    bench) wanted=("${bench[@]}") ;;
    *) echo "usage: $0 build|test|bench" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
echo "Installing from Debian: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
