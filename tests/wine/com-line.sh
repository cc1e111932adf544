# Sourced by the COM port tests: a serial line for a Wine COM port, made of two
# linked pseudo-terminals. COMn is mapped to one end; the test plays the
# display on the other, through file descriptor 3, and everything the program
# sends collects in $dir/wire.bin.
#   open_com_line WINEPREFIX COM-NUMBER    sets dir and line_pid; cleans up on exit

open_com_line() {
  local prefix=$1 number=$2
  dir=$(mktemp -d)
  socat pty,raw,echo=0,link="$dir/line" pty,raw,echo=0,link="$dir/display" &
  line_pid=$!
  for _ in $(seq 100); do [ -e "$dir/line" ] && [ -e "$dir/display" ] && break; sleep 0.05; done
  exec 3<>"$dir/display"
  cat <&3 > "$dir/wire.bin" &
  local reader=$!
  ln -sfn "$dir/line" "$prefix/dosdevices/com$number"
  trap "kill $reader $line_pid 2>/dev/null; rm -f '$prefix/dosdevices/com$number'; rm -rf '$dir'" EXIT
}

# Waits until at least COUNT bytes have reached the display, or SECONDS have passed.
#   wait_for_wire COUNT SECONDS
wait_for_wire() {
  for _ in $(seq $(($2 * 20))); do
    [ "$(stat -c %s "$dir/wire.bin")" -ge "$1" ] && return 0
    sleep 0.05
  done
}

# The bytes that reached the display, as hexadecimal pairs.
wire_hex() { od -An -tx1 -v "$dir/wire.bin" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
