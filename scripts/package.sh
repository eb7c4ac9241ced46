#!/usr/bin/env bash
# Builds the Debian package dist/vorn_VERSION_ARCH.deb from this source tree.
#
# It is built by debhelper (compat 13) through dpkg-buildpackage, not by CPack: debhelper builds
# with dpkg-buildflags' hardening flags, strips the binaries, compresses the manual pages and the
# changelog, installs the copyright file, sets the permissions, writes the md5sums and fills
# Depends from dpkg-shlibdeps, each the way Debian's own packages get it, so lintian finds
# nothing to report. With CPack each of those would be a setting or a step of our own to keep
# right. The install tree itself comes from the project's CMake install rules either way.
#
# The build runs in a copy of the sources under $TMPDIR, so the source tree gets no build files.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

work=$(mktemp -d "${TMPDIR:-/tmp}/pkg-vorn.XXXXXX")
trap 'rm -rf "$work"' EXIT
tree=$work/vorn
mkdir "$tree"
# The sources as they stand, committed or not, without build folders or other ignored files.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
    tar -c --null -T - -f - | tar -x -C "$tree"
else
  tar -c --exclude-vcs --anchored --exclude='./build*' --exclude=./dist -f - . | tar -x -C "$tree"
fi

(cd "$tree" && dpkg-buildpackage -b -us -uc -jauto)

mkdir -p dist
rm -f dist/vorn_*.deb
cp "$work"/vorn_*.deb dist/
echo "Built $(realpath dist/vorn_*.deb)"
