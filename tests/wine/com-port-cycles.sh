#!/bin/bash
# Ten thousand openings of a real Wine COM port leave no handle and no heap
# memory behind; the line's far end takes whatever arrives.
#   com-port-cycles.sh WINE-WRAPPER BIN-DIR WINEPREFIX COM-NUMBER
set -eu
wrapper=$1 bin=$2 prefix=$3 number=$4
. "$(dirname "$0")/com-line.sh"
open_com_line "$prefix" "$number"
LUMORA_TEST_PORT=COM$number "$wrapper" "$bin/serial_line_test.exe" --gtest_filter='SerialLineCycles.*'
