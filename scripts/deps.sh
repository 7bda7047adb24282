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
windows=false
if [[ ${1:-} == --windows ]]; then
  windows=true
  # Wine's own Tahoma and Arial's metric twin: the fonts the settings window is measured in;
  # makensis for the installer, whose stub is a 32-bit program: Wine runs it with wine32, from
  # the i386 architecture.
  packages+=(g++-mingw-w64-x86-64-posix wine wine64 wine32:i386 googletest xvfb fonts-wine
    fonts-liberation2 nsis unzip)
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
if $windows && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
