#!/usr/bin/env bash
# Builds the program and the library and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKORDEL_BUILD_TESTS=OFF -DKORDEL_BUILD_BENCHMARKS=OFF
cmake --build build/release --target kordel_program

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "Built build/release/bin/kordel, but there is no display to show it on" \
       "(neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  echo "Run it from a desktop session, or under Xvfb: xvfb-run build/release/bin/kordel" >&2
  exit 1
fi
exec build/release/bin/kordel
