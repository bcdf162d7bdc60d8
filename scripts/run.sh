#!/usr/bin/env bash
# Installs what is missing, builds and starts MiniQuorvel. Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh build
exec ./build/src/MiniQuorvel "$@"
