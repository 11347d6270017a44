#!/usr/bin/env bash
# Installs the Debian packages the build needs when they are missing.
# Usage: scripts/ensure-packages.sh [extra-package ...]
set -euo pipefail

packages=(cmake make g++ pkg-config libtinyxml2-dev libexpat1-dev libmd-dev libgtest-dev nlohmann-json3-dev python3 python3-jsonschema cmark-gfm "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
