#!/usr/bin/env bash
# Builds Tessaly's packages from scratch and puts them into dist/:
#   tessaly_<version>_amd64.deb              the Linux programs, man pages, menu entry
#   tessaly-<version>-setup.exe              the Windows installer
#   tessaly-<version>-windows-portable.zip   the two Windows programs and a readme
# The Release builds behind them (build/package-linux, build/package-windows) are made
# anew each time, so nothing of an earlier build or configuration gets in.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

scripts/install-deps.sh
rm -rf build/package-linux build/package-windows dist

echo "== the Debian package"
# With the hardening flags a package built by Debian's own tools gets.
(
    eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
    CXXFLAGS="$CPPFLAGS $CXXFLAGS" tessaly_build package-linux
)
cpack --preset package-linux -B "$PWD/build/package-linux/packages"

echo "== the Windows installer and portable zip"
tessaly_build package-windows

mkdir -p dist
cp build/package-linux/packages/tessaly_*_amd64.deb \
    build/package-windows/tessaly-*-setup.exe \
    build/package-windows/tessaly-*-windows-portable.zip dist/
ls -l dist
