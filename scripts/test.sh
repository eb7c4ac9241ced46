#!/usr/bin/env bash
# Installs what is missing, builds from scratch and runs every test without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
rm -rf build-test
scripts/build.sh build-test -DVORN_WERROR=ON
export QT_QPA_PLATFORM=offscreen
cd build-test
ctest --output-on-failure --timeout 600 -j 2
