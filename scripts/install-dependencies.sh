#!/usr/bin/env bash
# Installs the Debian packages Veltmark needs; packages already there are not touched, and the
# package lists are refreshed only when something is missing.
#
#   install-dependencies.sh            what building and running the program need
#   install-dependencies.sh --tests    that, and what the test suite adds
#   ... --list                         prints the chosen packages, one a line, installs nothing
set -euo pipefail

build_and_run=(
  build-essential cmake pkg-config
  # The libraries the program links.
  libsdl1.2-dev libsdl-image1.2-dev libsdl-ttf2.0-dev libassimp-dev libimgui-dev libfreetype-dev
  libgl-dev libglu1-mesa-dev
  # Configuring also sets up the asset tools, which write PNG files, and the window benchmark's
  # press timer, which reads the screen through Xlib.
  zlib1g-dev libx11-dev
  # The interface font of the data directory.
  fonts-liberation
)

tests=(
  googletest libgtest-dev
  # The suite's three trees are built with Ninja: less of the build's time goes to make itself.
  ninja-build
  # The compiler of the sanitizer builds, and the linker of the suite's three trees.
  clang lld
  # The window driven on a private display and checked through screenshots.
  xvfb xdotool imagemagick
  # Their screenshots, read through the X server's shared memory.
  libxext-dev
  # A GUI and an engine to play a real match against, and the adapter through which the GUI
  # drives the UCI face.
  xboard fairymax polyglot
  # Building the Debian package (dpkg-shlibdeps; file finds the binaries) and checking it.
  dpkg-dev file lintian desktop-file-utils appstream man-db
  # An independent reader of the games the window archives.
  pgn-extract
)

packages=("${build_and_run[@]}")
list_only=false
for argument in "$@"; do
  case "$argument" in
    --tests) packages+=("${tests[@]}") ;;
    --list) list_only=true ;;
    *)
      echo "usage: $0 [--tests] [--list]" >&2
      exit 2
      ;;
  esac
done

if $list_only; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

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
