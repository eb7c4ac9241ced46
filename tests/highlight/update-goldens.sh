#!/usr/bin/env bash
# Rewrites every golden/NAME.rtf from golden/NAME.html with html2rtf, after
# a change to the highlighter's output has been reviewed. Usage:
#   tests/highlight/update-goldens.sh [BUILD_DIR]   (default: build)
# then look at `git diff tests/highlight/golden` before committing.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:-$root/build}"
tool="$build/tools/html2rtf"
if [[ ! -x "$tool" ]]; then
  echo "update-goldens: no html2rtf in $build/tools; build the html2rtf target first" >&2
  exit 1
fi
for html in "$here"/golden/*.html; do
  rtf="${html%.html}.rtf"
  "$tool" "$html" -o "$rtf"
  rm -f "$rtf.new"
  echo "wrote ${rtf#$root/}"
done
