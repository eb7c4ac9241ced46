#!/usr/bin/env bash
# Installs what is missing, builds, sets up the untitled-document scratch folder and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
mkdir -p "$HOME/ferrundshared"
exec build/app/vorn
