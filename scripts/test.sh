#!/usr/bin/env bash
# Builds Tessaly three ways and runs every test: natively (the layers of the includes
# among them, and tessaly-cli killed at random moments of its saves), under
# AddressSanitizer and UndefinedBehaviorSanitizer, and cross-built for Windows under
# Wine; between them the libFuzzer targets run for a while each. Then
# makes the packages from scratch and tests them installed: the .deb on this machine
# (through sudo when not root), the Windows installer in a Wine prefix of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh

scripts/install-deps.sh

echo "== native build and tests"
tessaly_build dev
ctest --preset dev --parallel "$tessaly_jobs"

echo "== crash loop: tessaly-cli killed at random moments, 50 times"
ctest --preset slow

echo "== sanitizer build and tests"
tessaly_build asan
ctest --preset asan --parallel "$tessaly_jobs"

echo "== fuzzing: each libFuzzer target for 30 seconds, the iCalendar reading for 60"
tessaly_build fuzz
ctest --preset fuzz

echo "== Windows build and tests under Wine"
scripts/test-windows.sh
if [ -f scripts/test-windows-gui.sh ]; then
    echo "== The Windows program driven under Xvfb and Wine"
    scripts/test-windows-gui.sh
fi

echo "== The packages: made from scratch, installed, used and removed"
scripts/package.sh
scripts/test-packages.sh
