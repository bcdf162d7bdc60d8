#!/usr/bin/env bash
# screenshots.sh [BUILD_DIR]: builds mq-screenshots (in BUILD_DIR, default build) and remakes the
# README pictures in docs/bilder (main window, service window, Nivorell editor with its graph,
# proofing-program editor) from the program's windows working with the simulator, on the
# offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
# An existing build folder keeps its build type.
if [ -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" >/dev/null
else
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$dir" -j"$(nproc)" --target mq-screenshots
# A settings store of its own for the run, removed afterwards.
store=$(mktemp -d)
trap 'rm -rf "$store"' EXIT
mkdir -p docs/bilder
# German dates and month names, as on the bakery PC.
LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$store" "$dir/tools/screenshots/mq-screenshots" docs/bilder
