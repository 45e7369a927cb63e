#!/usr/bin/env bash
# Builds the web page and runs its tests in headless Chromium against a server on
# a free loopback port, comparing the page with kordel-decode built from the same
# code (installing what is missing). "bench" measures speed and size instead.
# Usage: web-test.sh [bench]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/web.sh build

scripts/install-deps.sh web-test

# The test drivers, exactly as locked; puppeteer-core downloads no browser.
if [[ ! -f web/node_modules/.package-lock.json ||
      web/package-lock.json -nt web/node_modules/.package-lock.json ]]; then
  (cd web && npm ci --no-audit --no-fund --loglevel=error)
fi

# kordel-decode, unless the caller built it already.
if [[ -z "${KORDEL_DECODE:-}" ]]; then
  cmake -S . -B build/web-cli -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORDEL_BUILD_FRONTEND=OFF \
    -DKORDEL_BUILD_TESTS=OFF -DKORDEL_BUILD_BENCHMARKS=OFF >/dev/null
  cmake --build build/web-cli --target kordel-decode
  export KORDEL_DECODE=$PWD/build/web-cli/bin/kordel-decode
fi

cd web
if [[ "${1:-test}" == bench ]]; then
  exec node bench/bench.mjs
fi
# The tests start and stop their own server and browser; the timeout is a
# safety net, far above the ten-odd seconds they take.
timeout 300 node --test tests/page.test.mjs tests/explain.test.mjs
echo "Screenshots: build/web-screenshots/"
