#!/usr/bin/env bash
# Configures and builds into the folder given as $1 (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$dir" -j "$(nproc)"
