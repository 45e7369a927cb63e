#!/usr/bin/env bash
# Builds everything and runs every test: a release build, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== release build and tests"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

echo "== sanitizer build and tests"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORDEL_SANITIZE=ON \
  -DKORDEL_BUILD_BENCHMARKS=OFF
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

echo "== fuzzing both entry points for ${KORDEL_FUZZ_SECONDS:=60} seconds"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORDEL_BUILD_FUZZER=ON -DKORDEL_SANITIZE=ON -DKORDEL_BUILD_TESTS=OFF \
  -DKORDEL_BUILD_BENCHMARKS=OFF -DKORDEL_BUILD_FRONTEND=OFF
cmake --build build/fuzz -j "$jobs"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp library/fuzz/corpus/* "$corpus"
(cd "$corpus" && "$OLDPWD/build/fuzz/bin/fuzz_entry_points" -max_total_time="$KORDEL_FUZZ_SECONDS" \
  -print_final_stats=1 "$corpus" 2>&1 | tail -n 12)
echo "== fuzzing kordel-decode's line and CSV input for ${KORDEL_DECODE_FUZZ_SECONDS:=30} seconds"
decode_corpus=$(mktemp -d)
trap 'rm -rf "$corpus" "$decode_corpus"' EXIT
cp cli/fuzz/corpus/* "$decode_corpus"
(cd "$decode_corpus" && "$OLDPWD/build/fuzz/bin/fuzz_decode_input" \
  -max_total_time="$KORDEL_DECODE_FUZZ_SECONDS" -print_final_stats=1 "$decode_corpus" 2>&1 | tail -n 12)

echo "== web page in headless Chromium"
KORDEL_DECODE=$PWD/build/release/bin/kordel-decode bash scripts/web-test.sh

echo "All tests passed."
