#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Veltmark need. Packages that
# are already there are not touched; the package lists are refreshed only when something is
# missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config googletest libgtest-dev
  libsdl1.2-dev libsdl-image1.2-dev libsdl-ttf2.0-dev libassimp-dev libimgui-dev
  libgl-dev libglu1-mesa-dev fonts-liberation zlib1g-dev
  # Real peers and a display for the end-to-end tests.
  xvfb xdotool x11-apps imagemagick xboard fairymax stockfish
  # Building and checking the Debian package.
  dpkg-dev file lintian desktop-file-utils man-db
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
  fi
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
