#!/usr/bin/env bash
# Builds the Debian package into build/package/ from the default preset's build (the build that
# ./scripts/test.sh tests), then checks it: lintian (no errors), desktop-file-validate on its
# desktop entries, appstreamcli validate --no-net on its metadata. Prints the package's path last.
#   ./scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  -h|--help) sed -n '2,5p' "$0"; exit 0 ;;
esac

# dpkg-shlibdeps (dpkg-dev) works out the dependencies; the other three check the package.
QX_DEPS_EXTRA="dpkg-dev lintian desktop-file-utils appstream" ./scripts/deps.sh

build=build/default
out=build/package
cmake --preset default >/dev/null
cmake --build "$build" -j "$(nproc)" --target qx_installed
rm -rf "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$build/cpack.log" ||
  { cat "$build/cpack.log" >&2; exit 1; }
rm -rf "$out/_CPack_Packages"
packages=("$out"/*.deb)
deb=${packages[0]}

contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
desktop-file-validate "$contents"/usr/share/applications/*.desktop \
  "$contents"/etc/xdg/autostart/*.desktop
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml >&2
# Warnings are shown; errors fail the package.
lintian --fail-on error "$deb" >&2
echo "$deb"
