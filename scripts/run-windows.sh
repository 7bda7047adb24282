#!/usr/bin/env bash
# The Windows program under Wine on the indicator simulator: builds both (the simulator is a
# Linux program), maps the simulator's line to COM1 in the build's Wine prefix and starts
# tarnwell.exe. With no display it runs under Xvfb with a window manager for about 15 seconds
# and saves a screenshot to out/tarnwell-windows.png.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

scripts/deps.sh --windows
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build indicator_sim
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
ninja -C build-windows tarnwell

HOME_DIR=${TARNWELL_DEMO_HOME:-$ROOT/out/demo-windows}
mkdir -p "$HOME_DIR"
[[ -f $HOME_DIR/config.ini ]] || scripts/demo-config.sh >"$HOME_DIR/config.ini"
rm -f "$HOME_DIR/sim.ready"
build/tools/indicator_sim --link "$HOME_DIR/com1" --baud 9600 --pattern plateau --decimals 2 \
  --ready "$HOME_DIR/sim.ready" >"$HOME_DIR/sim.out" 2>&1 &
SIM=$!
trap 'kill $SIM 2>/dev/null || true' EXIT
for _ in $(seq 100); do [[ -s $HOME_DIR/sim.ready ]] && break; sleep 0.1; done

export WINEPREFIX=$ROOT/build-windows/wine
scripts/wine-run.sh reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$HOME_DIR/com1" /f >/dev/null
wineserver -k >/dev/null 2>&1 || true
wineserver --wait >/dev/null 2>&1 || true
export TARNWELL_HOME="Z:${HOME_DIR//\//\\}"
if [[ -n ${DISPLAY:-} ]]; then
  scripts/wine-run.sh build-windows/bin/tarnwell.exe
  exit 0
fi

SHOT=$ROOT/out/tarnwell-windows.png
mkdir -p "$ROOT/out"
export TARNWELL_MESSAGE_LOG="Z:${HOME_DIR//\//\\}\\messages.log"
xvfb-run -a -s "-screen 0 1024x640x24" bash -c "
  openbox >/dev/null 2>&1 &
  scripts/wine-run.sh build-windows/bin/tarnwell.exe &
  APP=\$!
  sleep 15
  import -window root '$SHOT' || true
  scripts/wine-run.sh taskkill /im tarnwell.exe >/dev/null 2>&1 || true
  wait \$APP
"
echo "Screenshot:      $SHOT"
echo "Data folder:     $HOME_DIR"
