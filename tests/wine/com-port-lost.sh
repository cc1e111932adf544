#!/bin/bash
# The Windows program loses its display: the COM port's line goes away while a
# marquee is writing to it. The program says so once and ends with status 1.
#   com-port-lost.sh WINE-WRAPPER BIN-DIR WINEPREFIX COM-NUMBER
set -u
wrapper=$1 bin=$2 prefix=$3 number=$4
. "$(dirname "$0")/com-line.sh"
open_com_line "$prefix" "$number"

"$wrapper" "$bin/lumora.exe" --driver plover --port "COM$number" \
  marquee 0 1 20 "Going, going, gone" wait 20000 2>"$dir/err" &
program=$!
wait_for_wire 10 10
kill "$line_pid"
wait "$program"
status=$?
said=$(tr -d '\r' <"$dir/err")
if [ $status != 1 ] || [ "$(printf '%s\n' "$said" | grep -c .)" != 1 ] ||
   ! printf '%s' "$said" | grep -q "lumora: lost the display: port COM$number"; then
  echo "status $status, said: '$said'; expected status 1 and one line about the lost display"
  exit 1
fi
echo "COM$number went away: $said"
