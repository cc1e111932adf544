#!/bin/bash
# The demo: the Futaba driver on the emulated display, drawn in the terminal.
# It needs no hardware and ends by itself.
#   demo.sh BIN-DIR
set -eu
"$1/lumora" --driver plover --port sim \
  write 0 0 "lumora" \
  write 1 0 "Futaba VFD, 20x4" \
  write 2 0 "driver: plover" \
  wait 1500 \
  marquee 3 1 120 "The host scrolls this marquee through the bottom row..." \
  wait 5000 \
  unmarquee \
  clear \
  write 1 6 "Goodbye!" \
  wait 1500
