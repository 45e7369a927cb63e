#!/usr/bin/env bash
# Builds the Debian packages kordel, libkordel1, libkordel-dev and python3-kordel
# from a clean copy of the source tree into build/packages/, then checks them with
# lintian (no error, no warning) and hardening-check (both programs, the library and
# the Python module).
#
# The tests are not run inside the package build (DEB_BUILD_OPTIONS=nocheck):
# scripts/test.sh runs them all. Set KORDEL_PACKAGE_CHECK=1 to run them there too.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package

out=build/packages
# What an earlier run left; the npm package that scripts/npm.sh packs here stays.
rm -rf "$out/src" "$out"/*.deb "$out"/*.dsc "$out"/kordel_*.tar.* "$out"/*.buildinfo \
  "$out"/*.changes "$out/build.log"
mkdir -p "$out/src"
version=$(dpkg-parsechangelog -l debian/changelog -S Version)
src="$out/src/kordel-$version"
mkdir "$src"

# The files of the checkout (tracked, and new ones not ignored), without the
# build folders and anything else git ignores.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [[ -e $f ]] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -xf - -C "$src"
else
  tar --exclude=./build --exclude=./.git -cf - . | tar -xf - -C "$src"
fi

if [[ ${KORDEL_PACKAGE_CHECK:-0} == 1 ]]; then
  scripts/install-deps.sh test
else
  export DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}" DEB_BUILD_PROFILES=nocheck
fi
(cd "$src" && dpkg-buildpackage -us -uc -j"$(nproc)") >"$out/build.log" 2>&1 || {
  tail -n 40 "$out/build.log" >&2
  echo "The package build failed; the whole log is in $out/build.log." >&2
  exit 1
}
mv "$out"/src/*.deb "$out"/src/*.dsc "$out"/src/*.tar.* "$out"/src/*.buildinfo "$out"/src/*.changes "$out"/
rm -rf "$out/src"
changes=$(ls "$out"/*.changes)

echo "== lintian"
lintian --fail-on error,warning "$changes"

echo "== hardening-check"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
for deb in "$out"/kordel_*.deb "$out"/libkordel1_*.deb "$out"/python3-kordel_*.deb; do
  dpkg-deb -x "$deb" "$unpacked"
done
binaries=("$unpacked"/usr/bin/* "$unpacked"/usr/lib/*/libkordel.so.*.*.*)
# Control-flow protection is left out: Debian 12's C start files carry no CET
# marking, so the linker drops it from every program built there.
hardening-check --nocfprotection "${binaries[@]}"
# The Python module is compiled with _FORTIFY_SOURCE like the rest (checked in the
# build log), but none of its copies has a size the compiler could check, so it
# calls no protected function and hardening-check cannot tell; the rest it checks.
grep -E '/python/src/module\.cpp' "$out/build.log" | grep -q -- '-D_FORTIFY_SOURCE=2' || {
  echo "The Python module was not compiled with _FORTIFY_SOURCE=2." >&2
  exit 1
}
hardening-check --nocfprotection --nofortify "$unpacked"/usr/lib/python3/dist-packages/kordel/_kordel.*.so

echo "Packages in $out:"
ls -1 "$out"/*.deb
