#!/usr/bin/env bash
# Fails when a C++ file differs from the tree's one format (.clang-format).
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
