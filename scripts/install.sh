#!/usr/bin/env bash
# Installs what is missing, builds, and installs the editor for the user: into ~/.local, or the
# prefix given with --prefix DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="$HOME/.local"
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix) [ $# -ge 2 ] || { echo "install.sh: --prefix needs a folder" >&2; exit 2; }; prefix=$2; shift 2 ;;
    --prefix=*) prefix=${1#--prefix=}; shift ;;
    *) echo "usage: bash scripts/install.sh [--prefix DIR]" >&2; exit 2 ;;
  esac
done
prefix=$(realpath -m "$prefix")
scripts/install-deps.sh
scripts/build.sh build -DBUILD_TESTING=OFF -DVORN_BENCH=OFF
cmake --install build --prefix "$prefix"
# The desktop finds a new menu entry and icon sooner when its caches know them.
command -v update-desktop-database >/dev/null && update-desktop-database -q "$prefix/share/applications" || true
command -v gtk-update-icon-cache >/dev/null && gtk-update-icon-cache -q -t "$prefix/share/icons/hicolor" || true
echo "Installed into $prefix. Start it with: $prefix/bin/vorn [FILE]"
case ":$PATH:" in
  *":$prefix/bin:"*) ;;
  *) echo "$prefix/bin is not on your PATH yet; it is once you log in again if your profile adds it, or add it yourself." ;;
esac
