#!/usr/bin/env bash
# Builds the web page and its WebAssembly module into build/web/ and serves the
# folder on http://127.0.0.1:8080 (installing what is missing with apt-get).
# Usage: web.sh [build]   ("build" builds and does not serve)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh web

out=build/web
# The module is the CMake target kordel_module, built by emscripten from the
# same targets as the native build.
# The build type's flags name no optimization level: web/CMakeLists.txt gives
# each file its own (configured every time, so that an older folder takes it).
# The optimizer that emscripten runs finds Debian's acorn there.
NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH} \
  emcmake cmake -S . -B build/wasm -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DKORDEL_WERROR=ON \
  -DCMAKE_CXX_FLAGS_MINSIZEREL=-DNDEBUG >/dev/null
NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH} cmake --build build/wasm --target kordel_module

# Papa Parse, which reads the lists, exactly as web/package-lock.json locks it.
if [[ ! -f web/node_modules/.package-lock.json ||
      web/package-lock.json -nt web/node_modules/.package-lock.json ]]; then
  (cd web && npm ci --no-audit --no-fund --loglevel=error)
fi

rm -rf "$out"
mkdir -p "$out"
cp web/index.html web/style.css web/app.js web/list-worker.js web/manifest.webmanifest \
   web/explain.js web/explain.css web/dom.js web/labels.js web/report-view.js \
   web/list-view.js web/paste.js web/updates.js \
   build/wasm/module/kordel.js build/wasm/module/kordel.wasm build/wasm/module/model-years.js \
   web/node_modules/papaparse/papaparse.min.js "$out/"
cp data/icons/org.kordel.Kordel.svg "$out/icon.svg"  # the program's own icon

# The service worker caches every file of this build under a name drawn from
# their content, so a new build replaces the cache as a whole.
files=(./ $(cd "$out" && ls | LC_ALL=C sort))
version=$(cd "$out" && cat "${files[@]:1}" | sha256sum | cut -c1-16)
list=$(printf '"%s",' "${files[@]}")
sed -e "s/@VERSION@/$version/" -e "s|@FILES@|[${list%,}]|" web/sw.js > "$out/sw.js"
echo "Built $out (version $version)."

[[ "${1:-serve}" == build ]] && exit 0
echo "Serving on http://127.0.0.1:8080 (Ctrl+C stops)."
exec python3 -m http.server --bind 127.0.0.1 --directory "$out" 8080
