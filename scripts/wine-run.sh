#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in a Wine prefix of the build's own
# (<build>/wine, or WINEPREFIX when set), made on first use. The program's exit code is ours.
# CTest runs every Windows test through this (CMAKE_CROSSCOMPILING_EMULATOR).
set -euo pipefail
program=$1
shift
if [[ -z ${WINEPREFIX:-} ]]; then
  # The build folder is the nearest folder above the program that holds CMakeCache.txt.
  build=$(dirname "$(readlink -f "$program")")
  while [[ $build != / && ! -f $build/CMakeCache.txt ]]; do build=$(dirname "$build"); done
  [[ $build == / ]] && build=$(dirname "$(readlink -f "$program")")
  export WINEPREFIX=$build/wine
fi
export WINEDEBUG=${WINEDEBUG:--all}
# No desktop integration or menus, no Mono or Gecko installers: a bare prefix starts quickest.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=;mshtml=}
mkdir -p "$WINEPREFIX"
(
  flock 9
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    wineboot --init >/dev/null 2>&1
    wineserver --wait
  fi
) 9>"$WINEPREFIX.lock"
# Where wine32 is installed, "wine" starts Wine's own tools (taskkill, reg) as 32-bit programs,
# which do not see 64-bit processes: ours are 64-bit, and so are the tools they need.
wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=wine
exec "$wine" "$program" "$@"
