#!/usr/bin/env bash
# Builds the Debian package build-package/guidegate_<version>_<arch>.deb and checks it:
# it holds the binary and the man page, depends on the tinyxml2 runtime, and the
# unpacked binary runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh dpkg-dev file
BUILD_DIR=build-package scripts/build.sh -DCMAKE_BUILD_TYPE=Release -DGUIDEGATE_TESTS=OFF
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/guidegate_*_*.deb)
echo "Package: $deb"

contents=$(dpkg-deb --contents "$deb")
grep -q '/usr/bin/guidegate$' <<<"$contents" || { echo "package lacks /usr/bin/guidegate"; exit 1; }
grep -q '/usr/share/man/man1/guidegate.1' <<<"$contents" || { echo "package lacks the man page"; exit 1; }
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
grep -q 'libtinyxml2' <<<"$depends" || { echo "package does not depend on the tinyxml2 runtime"; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb --extract "$deb" "$scratch"
"$scratch/usr/bin/guidegate" --version
