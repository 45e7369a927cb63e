#!/usr/bin/env bash
# Installs what is missing (scripts/install-deps.sh), then builds everything and
# runs every test, in these stages:
#   1. code format: clang-format over every tracked C and C++ file;
#   2. a release build (with benchmarks and the Python module) and its tests
#      (the Python module's with pytest and mypy's stubtest), then the module
#      built by pip from this checkout into a virtual environment and tested there;
#   3. the same tests under AddressSanitizer and UndefinedBehaviorSanitizer;
#   4. the window on Wayland, under a private headless weston (must run in CI);
#   5. a bounded fuzzing run of the library's entry points (KORDEL_FUZZ_SECONDS);
#   6. a bounded fuzzing run of kordel-decode's line and CSV input
#      (KORDEL_DECODE_FUZZ_SECONDS), and of the record layer with suggestions and
#      position meanings on (KORDEL_RECORD_FUZZ_SECONDS);
#   7. the web page's tests in headless Chromium, against the release kordel-decode;
#   8. the npm package: packed, installed from its .tgz and tested in Node.js and,
#      bundled, in headless Chromium, against the release kordel-decode;
#   9. in CI (or with KORDEL_PACKAGE_TEST=1) the Debian packages: built, checked
#      with lintian, installed, used and purged.
#
# Each build has a folder of its own (the run command's build/release is never
# used) and every option is set here, so whatever configured a folder before, every
# test is built and run. Warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
common=(-G Ninja -DKORDEL_WERROR=ON -DKORDEL_BUILD_TESTS=ON -DKORDEL_BUILD_CLI=ON)

echo "== code format (.clang-format)"
git ls-files -z '*.c' '*.cpp' '*.h' '*.inc' | xargs -0 clang-format --dry-run --Werror

echo "== release build and tests"
# The Python module's tests (pytest) run among the others, under Debian's python3.
cmake -S . -B build/test "${common[@]}" -DCMAKE_BUILD_TYPE=Release -DKORDEL_BUILD_FRONTEND=ON \
  -DKORDEL_BUILD_BENCHMARKS=ON -DKORDEL_BUILD_FUZZER=OFF -DKORDEL_SANITIZE=OFF \
  -DKORDEL_BUILD_PYTHON=ON -DPython3_EXECUTABLE=/usr/bin/python3
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs" -LE wayland

echo "== pip install . (no build isolation) into a virtual environment"
venv=$(mktemp -d)
/usr/bin/python3 -m venv --system-site-packages "$venv"
"$venv/bin/pip" install --quiet --no-build-isolation --no-index --no-cache-dir . >/dev/null
(cd "$venv" && PYTHONDONTWRITEBYTECODE=1 KORDEL_DECODE=$OLDPWD/build/test/bin/kordel-decode \
  "$venv/bin/python" -m pytest -q -p no:cacheprovider "$OLDPWD/python/tests")
rm -rf "$venv" python/kordel.egg-info

echo "== sanitizer build and tests"
cmake -S . -B build/sanitize "${common[@]}" -DCMAKE_BUILD_TYPE=Debug -DKORDEL_SANITIZE=ON \
  -DKORDEL_BUILD_FRONTEND=ON -DKORDEL_BUILD_BENCHMARKS=OFF -DKORDEL_BUILD_FUZZER=OFF
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build/sanitize --output-on-failure -j "$jobs" \
  -LE wayland

# A private weston in a runtime folder of its own, stopped by its process id
# (frontend/tests/with_weston.sh). Without weston the test says why and is
# skipped; with CI=true that is a failure.
echo "== the window on Wayland (weston, headless)"
ctest --test-dir build/test --output-on-failure -L wayland

echo "== fuzzing both entry points for ${KORDEL_FUZZ_SECONDS:=60} seconds"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DKORDEL_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORDEL_BUILD_FUZZER=ON -DKORDEL_SANITIZE=ON \
  -DKORDEL_BUILD_TESTS=OFF -DKORDEL_BUILD_BENCHMARKS=OFF -DKORDEL_BUILD_FRONTEND=OFF \
  -DKORDEL_BUILD_CLI=ON
cmake --build build/fuzz -j "$jobs"
# Each fuzzer runs in a copy of its corpus, so that what it adds leaves the tree alone.
corpora=()
trap 'rm -rf "${corpora[@]}"' EXIT
fuzz() {  # fuzz BINARY CORPUS SECONDS
  local corpus
  corpus=$(mktemp -d)
  corpora+=("$corpus")
  cp "$2"/* "$corpus"
  (cd "$corpus" && "$OLDPWD/build/fuzz/bin/$1" -max_total_time="$3" -print_final_stats=1 \
    "$corpus" 2>&1 | tail -n 12)
}
fuzz fuzz_entry_points library/fuzz/corpus "$KORDEL_FUZZ_SECONDS"
echo "== fuzzing kordel-decode's line and CSV input for ${KORDEL_DECODE_FUZZ_SECONDS:=30} seconds"
fuzz fuzz_decode_input cli/fuzz/corpus "$KORDEL_DECODE_FUZZ_SECONDS"
echo "== fuzzing the record layer's JSON and CSV for ${KORDEL_RECORD_FUZZ_SECONDS:=30} seconds"
fuzz fuzz_record cli/fuzz/record_corpus "$KORDEL_RECORD_FUZZ_SECONDS"

echo "== web page in headless Chromium"
KORDEL_DECODE=$PWD/build/test/bin/kordel-decode bash scripts/web-test.sh

echo "== npm package: packed, installed from its .tgz and tested in Node.js and Chromium"
KORDEL_DECODE=$PWD/build/test/bin/kordel-decode bash scripts/npm.sh test

if [[ ${CI:-} == true || ${KORDEL_PACKAGE_TEST:-0} == 1 ]]; then
  echo "== Debian packages: build, lintian, install, use, purge"
  bash scripts/test_packages.sh
else
  echo "== Debian packages: skipped (they install into the system; set KORDEL_PACKAGE_TEST=1)"
fi
echo "All tests passed."
