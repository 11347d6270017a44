#!/usr/bin/env bash
# Builds the Debian package build-package/guidegate_<version>_<arch>.deb and checks it:
# it holds the binary, the compressed man page and /usr/share/doc/guidegate (copyright,
# changelog, README, docs/ with the JSON Schema), depends on the tinyxml2 and expat runtimes,
# lintian reports no error on it, and the unpacked binary runs.
#
# The Release build in build-package is reused: it is configured only when it is new or
# its configuration changed, and cmake rebuilds only what changed since.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh dpkg-dev file lintian
build_dir=build-package

# Debian's hardening flags (stack protector, fortified functions, full RELRO, BIND_NOW).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
configure_args=(
  -DCMAKE_BUILD_TYPE=Release -DGUIDEGATE_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
  "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
  "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
)
stamp="$build_dir/guidegate-configure-args"
if [ -f "$build_dir/CMakeCache.txt" ] && [ -f "$stamp" ] &&
   [ "$(cat "$stamp")" = "$(printf '%s\n' "${configure_args[@]}")" ]; then
  echo "Reusing the Release build in $build_dir"
else
  cmake -S . -B "$build_dir" "${configure_args[@]}" >/dev/null
  printf '%s\n' "${configure_args[@]}" >"$stamp"
fi
cmake --build "$build_dir" -j"$(nproc)"
rm -f "$build_dir"/guidegate_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
deb=$(ls "$build_dir"/guidegate_*_*.deb)
echo "Package: $deb"

contents=$(dpkg-deb --contents "$deb")
for path in /usr/bin/guidegate /usr/share/man/man1/guidegate.1.gz \
            /usr/share/doc/guidegate/copyright /usr/share/doc/guidegate/changelog.Debian.gz \
            /usr/share/doc/guidegate/README.md /usr/share/doc/guidegate/docs/json-report.md \
            /usr/share/doc/guidegate/docs/json-report.schema.json; do
  grep -q "\.$path\$" <<<"$contents" || { echo "package lacks $path"; exit 1; }
done
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
grep -q 'libtinyxml2' <<<"$depends" || { echo "package does not depend on the tinyxml2 runtime"; exit 1; }
grep -q 'libexpat1' <<<"$depends" || { echo "package does not depend on the expat runtime"; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb --extract "$deb" "$scratch"
"$scratch/usr/bin/guidegate" --version

version=$(dpkg-deb --field "$deb" Version)
changelog_version=$(gzip -dc "$scratch/usr/share/doc/guidegate/changelog.Debian.gz" | dpkg-parsechangelog -l- -S Version)
[ "$version" = "$changelog_version" ] ||
  { echo "package version $version differs from the changelog's $changelog_version (doc/changelog.Debian)"; exit 1; }
grep -q '^License: Apache-2.0$' "$scratch/usr/share/doc/guidegate/copyright" ||
  { echo "copyright does not name the Apache-2.0 licence"; exit 1; }
zcat "$scratch/usr/share/man/man1/guidegate.1.gz" | grep -q '/usr/share/doc/guidegate' ||
  { echo "the man page does not point to /usr/share/doc/guidegate"; exit 1; }

# lintian: errors fail the package; warnings and notes are shown.
status=0
report=$(lintian --fail-on error --display-info "$deb" 2>&1) || status=$?
grep -v '^running with root privileges is not recommended!$' <<<"$report" || true
[ $status -eq 0 ] || { echo "lintian reports errors on $deb (exit status $status)"; exit 1; }
echo "lintian: no errors"
