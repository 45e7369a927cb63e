#!/usr/bin/env bash
# Installs the Debian packages a task needs, only when some are missing.
# Usage: install-deps.sh run|test|package|web|web-test
#   run       build and run the program
#   test      also build and run every test (scripts/test.sh)
#   package   build the Debian packages (scripts/package.sh)
#   web       build and serve the web page (scripts/web.sh)
#   web-test  test the page in headless Chromium against kordel-decode (scripts/web-test.sh)
set -euo pipefail
# shellcheck source=scripts/as_root.sh
source "$(dirname "$0")/as_root.sh"

run=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core fonts-liberation2
     libcli11-dev nlohmann-json3-dev libcsv-dev)
case "${1:-test}" in
  run) packages=("${run[@]}") ;;
  test)
    # cups-daemon and cups-client for the print test's private scheduler; weston
    # and Qt's Wayland platform for the Wayland test; libxcb1-dev and xvfb for the
    # start-up benchmark (frontend/bench); pybind11, the Python headers and pytest
    # for the Python module; mypy (stubtest), numpy and pandas for its tests;
    # venv, pip, setuptools and wheel for pip install . .
    packages=("${run[@]}" googletest libgtest-dev libbenchmark-dev clang clang-format
              libclang-rt-14-dev poppler-utils cups-daemon cups-client weston qt6-wayland
              libxcb1-dev xvfb pybind11-dev python3-dev python3-pytest mypy python3-numpy
              python3-pandas python3-venv python3-pip python3-setuptools python3-wheel) ;;
  package)
    # hardening-check comes with devscripts; the package test validates the
    # installed desktop file and metainfo and builds a C program through pkg-config;
    # dh-python, the Python headers and pybind11 build python3-kordel.
    packages=("${run[@]}" build-essential debhelper dpkg-dev devscripts lintian pkg-config
              desktop-file-utils appstream dh-python python3-dev pybind11-dev) ;;
  web)
    packages=(emscripten nlohmann-json3-dev cmake ninja-build)
    command -v python3 >/dev/null || packages+=(python3)
    # Any Node.js and npm will do (npm installs Papa Parse); Debian's only where there is none.
    command -v node >/dev/null || packages+=(nodejs)
    command -v npm >/dev/null || packages+=(npm) ;;
  web-test)
    packages=("${run[@]}" chromium) ;;
  *) echo "usage: $0 run|test|package|web|web-test" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
as_root apt-get -o DPkg::Lock::Timeout=600 update -qq
as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
  --no-install-recommends "${missing[@]}"
