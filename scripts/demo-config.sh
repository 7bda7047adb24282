#!/usr/bin/env bash
# Prints a config.ini for the demo: port 1 at 9600 bit/s, English, 250 samples, recording every
# second from start-up to demo.txt, a larger window. Every other line is the program's own
# default, as its renewal writes it (the tests keep that file).
set -euo pipefail
defaults=$(dirname "$0")/../tests/config/golden/default_config.ini
# Line number, then the value before the line's comment.
awk 'BEGIN {
  RS = "\r\n"; ORS = "\r\n"
  v[9] = "0"; v[11] = "250"; v[15] = "1"; v[16] = "demo.txt"; v[19] = "0"; v[32] = "1"
  v[36] = "12000"; v[37] = "8000"
}
NR in v { $0 = v[NR] substr($0, index($0, "'\''")) } { print }' "$defaults"
