#!/bin/bash
# The Windows program drives plover through a real Wine COM port: COMn is
# mapped to one end of a pseudo-terminal whose other end records the wire.
#   com-port.sh WINE-WRAPPER BIN-DIR WINEPREFIX COM-NUMBER
set -eu
wrapper=$1 bin=$2 prefix=$3 number=$4
dir=$(mktemp -d)
trap 'kill $reader $socat 2>/dev/null || true; rm -f "$prefix/dosdevices/com$number"; rm -rf "$dir"' EXIT

# Two linked pseudo-terminals: the program's COM port is one, the display the other.
socat pty,raw,echo=0,link="$dir/line" pty,raw,echo=0,link="$dir/display" &
socat=$!
for _ in $(seq 100); do [ -e "$dir/line" ] && [ -e "$dir/display" ] && break; sleep 0.05; done
cat "$dir/display" > "$dir/wire.bin" &
reader=$!
ln -sfn "$dir/line" "$prefix/dosdevices/com$number"

"$wrapper" "$bin/lumora.exe" --driver plover --port "COM$number" clear write 1 5 Hi
sleep 0.5  # what is still on its way through the pair

wire=$(od -An -tx1 -v "$dir/wire.bin" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
expected="1f 1f 10 19 48 69 1f"
if [ "$wire" != "$expected" ]; then
  echo "on the wire: '$wire', expected '$expected'"
  exit 1
fi
echo "COM$number carried: $wire"
