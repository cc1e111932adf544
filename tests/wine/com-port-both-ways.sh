#!/bin/bash
# Every byte both ways over a real Wine COM port: the test program sends every
# byte value; once they have all arrived, this script sends them back as keys.
#   com-port-both-ways.sh WINE-WRAPPER BIN-DIR WINEPREFIX COM-NUMBER
set -eu
wrapper=$1 bin=$2 prefix=$3 number=$4
. "$(dirname "$0")/com-line.sh"
open_com_line "$prefix" "$number"

every_byte() { printf "$(printf '\\%03o' $(seq 0 255))"; }

LUMORA_TEST_PORT=COM$number "$wrapper" "$bin/serial_line_test.exe" --gtest_filter='SerialLineBothWays.*' &
test=$!
wait_for_wire 256 20
every_byte >&3
status=0
wait $test || status=$?

if ! cmp -s "$dir/wire.bin" <(every_byte); then
  echo "on the wire: $(wire_hex)"
  exit 1
fi
[ $status = 0 ] && echo "COM$number carried all 256 byte values both ways"
exit $status
