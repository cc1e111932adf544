#!/bin/bash
# The simulated display for a person without Windows: the x64 program runs
# mirage under Wine on a virtual X screen, and a screenshot of its window is
# saved as a PNG.
#   demo-window.sh BIN-DIR OUTPUT.png
set -eu
bin=$(cd "$1" && pwd) out=$2
screen=:87  # a display number unlikely to be in use

export WINEPREFIX=$(dirname "$bin")/demo-wineprefix WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY=$screen
work=$(mktemp -d)

# A black screen, so that the window is all that is left after cropping.
Xvfb $screen -screen 0 800x600x24 -br -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do xwd -root -silent >/dev/null 2>&1 && break; sleep 0.1; done

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "making a Wine prefix for the demo in $WINEPREFIX (once)"
  wineboot -i </dev/null >/dev/null 2>&1
  # COM1-COM4 would reach this machine's own serial lines: point them at nothing.
  for n in 1 2 3 4; do
    wine reg add 'HKLM\Software\Wine\Ports' /v COM$n /d /dev/null /f </dev/null >/dev/null 2>&1
  done
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Courier New" /d "Liberation Mono" /f \
    </dev/null >/dev/null 2>&1
  # Wine's own fonts draw the caption buttons as symbols, not letters.
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi

# Text, and the eight custom characters: a bar that fills dot by dot, a heart,
# a bell and a smile.
wine "$bin/lumora.exe" --driver mirage --model "lumora mirage" --profile demo-window \
  --setting MirageXPos=16 --setting MirageYPos=16 --setting MirageFontSize=16 \
  char 0 0x10 0x10 0x10 0x10 0x10 0x10 0x10 0x10 \
  char 1 0x18 0x18 0x18 0x18 0x18 0x18 0x18 0x18 \
  char 2 0x1C 0x1C 0x1C 0x1C 0x1C 0x1C 0x1C 0x1C \
  char 3 0x1E 0x1E 0x1E 0x1E 0x1E 0x1E 0x1E 0x1E \
  char 4 0x1F 0x1F 0x1F 0x1F 0x1F 0x1F 0x1F 0x1F \
  char 5 0x00 0x0A 0x1F 0x1F 0x0E 0x04 0x00 0x00 \
  char 6 0x04 0x0E 0x0E 0x0E 0x1F 0x00 0x04 0x00 \
  char 7 0x00 0x0A 0x0A 0x00 0x11 0x0E 0x00 0x00 \
  write 0 0 "Simulated LCD 20x4" \
  write 1 0 "lumora mirage \x05 \x06 \x07" \
  write 2 0 "Load \x04\x04\x04\x04\x04\x04\x03 73%" \
  write 3 0 "\x00\x01\x02\x03\x04 custom chars" \
  wait 30000 </dev/null >/dev/null 2>&1 &

# The window is up once its yellow background shows; then one more moment.
shot() { xwd -root -silent | xwdtopnm 2>/dev/null | pnmdepth 255 2>/dev/null | pnmcrop -black 2>/dev/null > "$work/shot.ppm" || true; }
for _ in $(seq 120); do
  sleep 0.5
  shot
  if ppmhist -noheader "$work/shot.ppm" 2>/dev/null | grep -qE '^ *240 +240 +40[[:space:]]'; then
    sleep 1
    shot
    mkdir -p "$(dirname "$out")"
    pnmtopng "$work/shot.ppm" > "$out"
    echo "saved a screenshot of the window as $out"
    exit 0
  fi
done
echo "demo-window: the window did not appear within a minute" >&2
exit 1
