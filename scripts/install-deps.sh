#!/usr/bin/env bash
# Installs the Debian packages that building, running, testing and packaging need; quiet when all
# are there.
set -euo pipefail
packages=(cmake g++ ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools libgl-dev
  libjpeg-dev libsimpleini-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool xclip openbox imagemagick desktop-file-utils fonts-dejavu-core fonts-liberation2
  debhelper dpkg-dev lintian appstream)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q "${missing[@]}"
fi
