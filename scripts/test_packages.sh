#!/usr/bin/env bash
# Builds the Debian packages, installs them with apt and uses what they installed:
# kordel-decode on a VIN, a C program built against the library through pkg-config
# and through the CMake package, the program's window on the offscreen platform and
# the Python module under its tests. Then purges them again, with every package
# their installation pulled in, so that the system's package set is as it was.
#
# This changes the system while it runs: scripts/test.sh runs it only in CI
# (CI=true) or when asked (KORDEL_PACKAGE_TEST=1).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/as_root.sh
source scripts/as_root.sh

bash scripts/package.sh

installed() { dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 == "ii" {print $2}' | sort; }
before=$(installed)
if grep -qE '^(kordel|libkordel1|libkordel-dev|python3-kordel)(:|$)' <<<"$before"; then
  echo "Kordel's packages are installed already; the package test would replace them." >&2
  [[ ${CI:-} == true ]] && exit 1
  echo "The package test is skipped." >&2
  exit 0
fi

work=$(mktemp -d)
added=
purge() {
  if [[ -n $added ]]; then
    local packages
    mapfile -t packages <<<"$added"
    echo "== purging: ${packages[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 purge -y -qq \
      "${packages[@]}" >/dev/null
  fi
  rm -rf "$work"
}
trap purge EXIT

echo "== installing the packages with apt"
# What this installation adds (the packages and what they pull in) is what the
# purge removes; apt holds its lock throughout, so nothing else comes in between.
status=0
before=$(installed)
as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
  --no-install-recommends "$PWD"/build/packages/{kordel,libkordel1,libkordel-dev,python3-kordel}_*.deb \
  >"$work/apt.log" 2>&1 || status=$?
added=$(comm -13 <(echo "$before") <(installed))
[[ $status -eq 0 ]] || { cat "$work/apt.log" >&2; exit 1; }

echo "== the installed files"
desktop-file-validate /usr/share/applications/org.kordel.Kordel.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.kordel.Kordel.metainfo.xml
for page in kordel kordel-decode; do
  warnings=$(man --warnings -l "/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [[ -z $warnings ]] || { echo "$warnings" >&2; exit 1; }
done

echo "== a C program against the installed library"
cat >"$work/use_kordel.c" <<'C'
#include <kordel.h>
#include <stdio.h>

int main(void) {
  char line[5][KORDEL_LINE_CAPACITY] = {{0}};
  if (!process_17(0, "1AMCM3877BK100021", line[0], line[1], line[2], line[3], line[4]))
    return 1;
  for (int i = 0; i < 5; ++i) puts(line[i]);
  return 0;
}
C
# shellcheck disable=SC2046
cc -Wall -Werror -o "$work/use_kordel" "$work/use_kordel.c" $(pkg-config --cflags --libs kordel)
"$work/use_kordel" | tee "$work/c.txt"
grep -q '1981 AMC Eagle 4wd 4 dr wagon' "$work/c.txt"

cat >"$work/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(use_kordel C)
find_package(Kordel 1 REQUIRED)
add_executable(use_kordel use_kordel.c)
target_link_libraries(use_kordel PRIVATE Kordel::kordel)
CMAKE
cmake -S "$work" -B "$work/build" -G Ninja >/dev/null
cmake --build "$work/build" >/dev/null
"$work/build/use_kordel" | grep -q '1981 AMC Eagle 4wd 4 dr wagon'
echo "find_package(Kordel): built and ran"

echo "== the installed program's window (offscreen)"
status=0
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES='qt.widgets.painting=true' \
  timeout 5 /usr/bin/kordel >"$work/kordel.log" 2>&1 || status=$?
# Still running when stopped after five seconds, and its main window was drawn
# and handed to the platform.
if [[ $status -ne 124 ]] || ! grep -q 'Drawing .*MainWindow.*name="Form1"' "$work/kordel.log" ||
   ! grep -q 'Flushing top level' "$work/kordel.log"; then
  echo "The installed kordel did not bring its window up (exit status $status):" >&2
  grep -v 'qt.widgets.painting' "$work/kordel.log" >&2 || true
  exit 1
fi
echo "the main window came up"
echo "== kordel-decode"
/usr/bin/kordel-decode 1AMCM3875BK100021 | tee "$work/decode.txt"
grep -q '1981 AMC Eagle 4wd 4 dr wagon' "$work/decode.txt"

echo "== the installed Python module"
# Debian's python3 with nothing on PYTHONPATH: the module comes from the package.
module=$(env -u PYTHONPATH /usr/bin/python3 -c 'import kordel; print(kordel._kordel.__file__)')
echo "$module"
[[ $module == /usr/lib/python3/dist-packages/kordel/_kordel.* ]]
# Its .dist-info: the version for importlib.metadata, and pip sees kordel as installed.
[[ $(env -u PYTHONPATH /usr/bin/python3 -c 'import importlib.metadata as m; print(m.version("kordel"))') == \
   "$(dpkg-query -W -f='${Version}' python3-kordel | sed 's/-.*//')" ]]
# The module's tests, against the installed kordel-decode.
env -u PYTHONPATH PYTHONDONTWRITEBYTECODE=1 KORDEL_DECODE=/usr/bin/kordel-decode \
  /usr/bin/python3 -m pytest -q -p no:cacheprovider python/tests

echo "Package test passed."
