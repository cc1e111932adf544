#!/bin/bash
# The Windows program drives plover through a real Wine COM port.
#   com-port.sh WINE-WRAPPER BIN-DIR WINEPREFIX COM-NUMBER
set -eu
wrapper=$1 bin=$2 prefix=$3 number=$4
. "$(dirname "$0")/com-line.sh"
open_com_line "$prefix" "$number"

"$wrapper" "$bin/lumora.exe" --driver plover --port "COM$number" clear write 1 5 Hi

expected="1f 1f 10 19 48 69 1f"
wait_for_wire 7 5  # what is still on its way through the pair
if [ "$(wire_hex)" != "$expected" ]; then
  echo "on the wire: '$(wire_hex)', expected '$expected'"
  exit 1
fi
echo "COM$number carried: $(wire_hex)"
