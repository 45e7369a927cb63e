#!/usr/bin/env bash
# Builds the web page and its WebAssembly module into build/web/ and serves the
# folder on http://127.0.0.1:8080 (installing what is missing with apt-get).
# Usage: web.sh [build]   ("build" builds and does not serve)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh web

out=build/web
work=build/web-obj
mkdir -p "$out" "$work/include"
# nlohmann alone on the include path: /usr/include holds the host's C library,
# which must not shadow emscripten's.
ln -sfn /usr/include/nlohmann "$work/include/nlohmann"

# The decoding core without its C entry points, the report's composition and the
# JSON record of the command line, with the page's two exports.
sources=(library/src/vin.cpp library/src/tables17.cpp library/src/decode17.cpp
         library/src/models13.cpp library/src/decode13.cpp library/report/src/report.cpp
         library/record/src/vin_decode.cpp library/record/src/json_record.cpp web/src/kordel_wasm.cpp)
# The optimizer that emscripten runs finds Debian's acorn there.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# Compiled again only when a source, a header or this script is newer than the module.
if [[ ! -f "$out/kordel.wasm" ||
      -n $(find library/src library/report/src library/record/src web/src scripts/web.sh -newer "$out/kordel.wasm" \
             \( -name '*.cpp' -o -name '*.h' -o -name web.sh \) | head -n 1) ]]; then
  em++ -std=c++20 -Os -flto -Wall -Wextra -Werror \
    -Ilibrary/src -Ilibrary/include -Ilibrary/report/src -Ilibrary/record/src -I"$work/include" \
    "${sources[@]}" -o "$out/kordel.js" \
    -sMODULARIZE=1 -sEXPORT_ES6=1 -sEXPORT_NAME=createKordel -sENVIRONMENT=web \
    -sFILESYSTEM=0 -sALLOW_MEMORY_GROWTH=1 \
    -sEXPORTED_FUNCTIONS=_kordel_decode_json,_kordel_check_digit_warning \
    -sEXPORTED_RUNTIME_METHODS=cwrap
fi

cp web/index.html web/style.css web/app.js web/csv.js web/manifest.webmanifest "$out/"
cp data/icons/org.kordel.Kordel.svg "$out/icon.svg"  # the program's own icon

# The service worker caches every file of this build under a name drawn from
# their content, so a new build replaces the cache as a whole.
files=(./ index.html style.css app.js csv.js kordel.js kordel.wasm manifest.webmanifest icon.svg)
version=$(cd "$out" && cat "${files[@]:1}" | sha256sum | cut -c1-16)
list=$(printf '"%s",' "${files[@]}")
sed -e "s/@VERSION@/$version/" -e "s|@FILES@|[${list%,}]|" web/sw.js > "$out/sw.js"
echo "Built $out (version $version)."

[[ "${1:-serve}" == build ]] && exit 0
echo "Serving on http://127.0.0.1:8080 (Ctrl+C stops)."
exec python3 -m http.server --bind 127.0.0.1 --directory "$out" 8080
