#!/usr/bin/env bash
# Checks that every C++ file of the tree is as clang-format (.clang-format at
# the root) would write it; lists the files that are not and fails.
set -euo pipefail
cd "$(dirname "$0")/.."
off=()
while IFS= read -r file; do
    clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || off+=("$file")
done < <(git ls-files '*.cpp' '*.h')
if [[ ${#off[@]} -gt 0 ]]; then
    echo "Not formatted (run clang-format -i on them):" >&2
    printf '  %s\n' "${off[@]}" >&2
    exit 1
fi
echo "Format: every C++ file as .clang-format writes it"
