#!/usr/bin/env bash
# Installs the Debian packages that building, testing and ./run need. Quiet when all are there.
#   scripts/deps.sh             the Linux program
#   scripts/deps.sh --windows   also the Windows cross build: mingw-w64, Wine, the GoogleTest
#                               sources, Xvfb
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  qt6-base-dev qt6-qpa-plugins
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  socat xvfb x11-utils imagemagick fonts-dejavu-core clang-format
  # the faces the windows are designed in: Tahoma, and Liberation Sans for Arial
  fonts-wine fonts-liberation2
  # a real window manager, for the test of a window restored from a maximised start
  openbox wmctrl
)
if [[ ${1:-} == --windows ]]; then
  # Wine's own Tahoma and Arial's metric twin: the fonts the settings window is measured in
  packages+=(g++-mingw-w64-x86-64-posix wine wine64 googletest xvfb fonts-wine fonts-liberation2)
fi

missing=()
for package in "${packages[@]}"; do
  # dpkg -s also answers for a package removed with its settings kept, so look at the status.
  if ! dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed'; then
    missing+=("$package")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null; then
    echo "deps.sh: missing ${missing[*]}; run as root to install them" >&2
    exit 1
  fi
  as_root=(sudo)
fi
echo "Installing ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
