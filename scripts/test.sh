#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the normal build with all
# tests, the AddressSanitizer + UndefinedBehaviorSanitizer build over every fast test, then a
# bounded fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 600

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRV_SANITIZE=ON -DTRV_BUILD_APP=ON -DTRV_BUILD_DATA=OFF
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 900 -LE slow

# Bounded fuzzing (libFuzzer, clang, sanitizers on) of the puzzle-text parser and the older reader.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRV_FUZZ=ON \
  -DTRV_SANITIZE=ON -DTRV_BUILD_APP=ON -DTRV_BUILD_DATA=OFF
cmake --build build-fuzz -j "$jobs" --target fuzz_puzzle_text fuzz_old_reader
fuzzwork=$(mktemp -d)
cp -r tests/fuzz/corpus "$fuzzwork/"
QT_QPA_PLATFORM=offscreen build-fuzz/bin/fuzz_puzzle_text -max_total_time=60 -timeout=10 \
  -artifact_prefix="$fuzzwork/" "$fuzzwork/corpus/puzzle"
build-fuzz/bin/fuzz_old_reader -max_total_time=60 -timeout=10 \
  -artifact_prefix="$fuzzwork/" "$fuzzwork/corpus/old"
rm -rf "$fuzzwork"
echo "fuzzing: both targets ran 60 s without a finding"
