#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the normal build with all
# tests, then the AddressSanitizer + UndefinedBehaviorSanitizer build over every fast test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 600

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRV_SANITIZE=ON -DTRV_BUILD_DATA=OFF
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 900 -LE slow
