#!/bin/bash
# Every byte both ways over a real Wine COM port: COMn is mapped to one end of
# a pseudo-terminal pair; this script plays the display on the other end.
#   com-port-both-ways.sh WINE-WRAPPER BIN-DIR WINEPREFIX COM-NUMBER
set -eu
wrapper=$1 bin=$2 prefix=$3 number=$4
dir=$(mktemp -d)
trap 'kill $reader $socat 2>/dev/null || true; rm -f "$prefix/dosdevices/com$number"; rm -rf "$dir"' EXIT

socat pty,raw,echo=0,link="$dir/line" pty,raw,echo=0,link="$dir/display" &
socat=$!
for _ in $(seq 100); do [ -e "$dir/line" ] && [ -e "$dir/display" ] && break; sleep 0.05; done
exec 3<>"$dir/display"
cat <&3 > "$dir/wire.bin" &
reader=$!
ln -sfn "$dir/line" "$prefix/dosdevices/com$number"

every_byte() { printf "$(printf '\\%03o' $(seq 0 255))"; }

LUMORA_TEST_PORT=COM$number "$wrapper" "$bin/serial_line_test.exe" &
test=$!
for _ in $(seq 400); do
  [ "$(stat -c %s "$dir/wire.bin")" -ge 256 ] && break
  sleep 0.05
done
every_byte >&3
status=0
wait $test || status=$?

if ! cmp -s "$dir/wire.bin" <(every_byte); then
  echo "on the wire: $(od -An -tx1 -v "$dir/wire.bin" | tr -s ' \n' ' ')"
  exit 1
fi
[ $status = 0 ] && echo "COM$number carried all 256 byte values both ways"
exit $status
