#!/usr/bin/env bash
# Builds the web page and runs its tests in headless Chromium against a server on
# a free loopback port, comparing the page with kordel-decode built from the same
# code (installing what is missing). "bench" measures speed and size instead;
# "lighthouse" runs Lighthouse 12 (installed from npm under build/tools/).
# Usage: web-test.sh [bench|lighthouse]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/web.sh build

scripts/install-deps.sh web-test

# web.sh installed the test drivers with Papa Parse, exactly as locked
# (puppeteer-core downloads no browser).

# kordel-decode, unless the caller built it already.
if [[ -z "${KORDEL_DECODE:-}" ]]; then
  cmake -S . -B build/web-cli -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORDEL_BUILD_FRONTEND=OFF \
    -DKORDEL_BUILD_TESTS=OFF -DKORDEL_BUILD_BENCHMARKS=OFF >/dev/null
  cmake --build build/web-cli --target kordel-decode
  export KORDEL_DECODE=$PWD/build/web-cli/bin/kordel-decode
fi

if [[ "${1:-test}" == lighthouse ]]; then
  if [[ ! -x build/tools/node_modules/.bin/lighthouse ]]; then
    npm install --prefix build/tools --no-audit --no-fund --loglevel=error lighthouse@12.8.2
  fi
  exec node web/bench/lighthouse.mjs
fi
cd web
if [[ "${1:-test}" == bench ]]; then
  exec node bench/bench.mjs
fi
# The tests start and stop their own servers and browser; the timeout is a
# safety net, far above the minute or so they take.
timeout 600 node --test tests/page.test.mjs tests/explain.test.mjs
echo "Screenshots: build/web-screenshots/"
