#!/usr/bin/env bash
# Installs what is missing, builds the program with its data files beside it, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target trv_800 trv_data
exec ./build/bin/trv_800 "$@"
