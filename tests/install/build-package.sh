#!/bin/sh
# Builds the Debian package of a build folder into its test-package/, once, for the package
# tests. Ends with 77 (skipped) where the dpkg tools that cpack needs are missing.
#   build-package.sh BUILD_FOLDER CPACK
set -eu
build=$1
cpack=$2
if ! command -v dpkg-deb >/dev/null || ! command -v dpkg-shlibdeps >/dev/null; then
    echo "dpkg-deb or dpkg-shlibdeps is missing: no package built"
    exit 77
fi
rm -rf "$build/test-package"
exec "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$build/test-package"
