#!/bin/bash
# Makes the build's Wine prefix ready and keeps its wineserver running for the
# tests that follow (started outside CTest's pipes, so that Wine's background
# processes do not hold them open).
#   prefix-up.sh WINEPREFIX
set -eu
export WINEPREFIX=$1 WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
fresh=0
[ -f "$WINEPREFIX/system.reg" ] || fresh=1
mkdir -p "$WINEPREFIX"
# A wineserver left over from a run that was cut short would refuse to be made
# persistent: end it first (the prefix belongs to this build alone).
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot -i </dev/null >/dev/null 2>&1
if [ $fresh = 1 ]; then
  # COM1-COM4 would reach this machine's own serial lines (COM1 is its
  # console): point them at nothing. Tests map their own ports from COM5 up.
  for n in 1 2 3 4; do
    wine reg add 'HKLM\Software\Wine\Ports' /v COM$n /d /dev/null /f </dev/null >/dev/null 2>&1
  done
fi
# Wine links the serial lines it finds at boot to COM names of its own choice,
# whatever the registry says: no COM name may reach this machine's lines.
for link in "$WINEPREFIX"/dosdevices/com*; do
  [ -L "$link" ] || continue
  case $(readlink "$link") in /dev/tty*) ln -sfn /dev/null "$link" ;; esac
done
if [ $fresh = 1 ]; then
  # Windows need no screen in the tests. The desktop process that the first
  # boot started still has the default driver (and no screen to use): start
  # the prefix's processes again, so that windows can be made at once.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
  wineserver -k
  wineserver -w
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
fi
# Wine has no fixed-pitch "Courier New", the simulated display's default face:
# Liberation Mono (fonts-liberation) stands in for it.
if ! grep -q '"Courier New"="Liberation Mono"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Courier New" /d "Liberation Mono" /f \
    </dev/null >/dev/null 2>&1
fi
