#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite twice:
# once plain and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== plain build"
bash scripts/build.sh build
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== sanitizer build (address, undefined)"
bash scripts/build.sh build-asan -DMQ_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir build-asan --output-on-failure -j"$jobs"
