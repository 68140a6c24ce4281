#!/usr/bin/env bash
# Installs what is missing, builds the Release program and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh build
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/vostrel
