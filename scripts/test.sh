#!/usr/bin/env bash
# Installs what is missing, checks the format, builds from scratch with warnings as errors and
# runs every test without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
rm -rf build-test
scripts/build.sh build-test -DVORN_WERROR=ON
export QT_QPA_PLATFORM=offscreen
cd build-test
ctest --output-on-failure --timeout 600 -j 2
