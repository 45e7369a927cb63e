#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when some are missing.
# Usage: install-deps.sh run|test
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-dejavu-core fonts-liberation2
          libcli11-dev nlohmann-json3-dev libcsv-dev)
if [[ "${1:-test}" == test ]]; then
  packages+=(googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
             poppler-utils cups printer-driver-cups-pdf)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
