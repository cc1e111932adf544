#!/bin/bash
# Inspects a Windows build's DLLs without running them (the x86 build cannot
# run on this machine): each driver exports CreateDisplayDevice alone under its
# plain name, imports the host library lumora.dll, needs no MinGW runtime DLL,
# and carries its description; the host exports DisplaySendEvent plainly.
#   check-dlls.sh BIN-DIR
set -u
bin=$1
failed=0
fail() { echo "FAIL: $*"; failed=1; }

exports() {  # the exported names of a DLL, one a line
  objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/\[/ && NR>1 {print $NF}'
}
imports() { objdump -p "$1" | awk '/DLL Name:/ {print $3}'; }
description() {  # FileDescription from the version resource (UTF-16 text)
  wrestool -x --raw --type=16 "$1" 2>/dev/null | iconv -f UTF-16LE -t UTF-8 -c | tr '\000' '\n' |
    grep -a -A2 'FileDescription$' | grep -av 'FileDescription$' | grep -a . | head -n 1
}

check_driver() {  # check_driver NAME DESCRIPTION
  local dll=$bin/$1.dll
  [ -f "$dll" ] || { fail "$dll is missing"; return; }
  [ "$(exports "$dll")" = "CreateDisplayDevice" ] || fail "$1.dll exports: $(exports "$dll" | tr '\n' ' ')"
  imports "$dll" | grep -qx 'lumora.dll' || fail "$1.dll does not import lumora.dll"
  [ "$(description "$dll")" = "$2" ] || fail "$1.dll describes itself as '$(description "$dll")', not '$2'"
}

for dll in "$bin"/*.dll "$bin"/*.cpl "$bin"/*.exe; do
  bad=$(imports "$dll" | grep -iE '^(libstdc\+\+|libgcc|libwinpthread)' || true)
  [ -z "$bad" ] || fail "$(basename "$dll") needs MinGW runtime DLLs: $bad"
done

check_driver plover "Futaba VFD interface"
check_driver heron "Matrix Orbital interface"
check_driver wren "Parallel port HD44780 interface"
# wren binds DlPortWritePortUchar by its plain name (stdcall on x86, undecorated).
imported_from() {  # imported_from DLL LIBRARY: the names DLL imports from LIBRARY
  objdump -p "$1" | awk -v lib="$2" '/DLL Name:/ {on = ($3 == lib); next} on && NF == 3 && $1 ~ /^[0-9a-f]+$/ {print $3}'
}
[ "$(imported_from "$bin/wren.dll" DlPortIO.dll)" = "DlPortWritePortUchar" ] ||
  fail "wren.dll imports from DlPortIO.dll: $(imported_from "$bin/wren.dll" DlPortIO.dll | tr '\n' ' ')"
exports "$bin/DlPortIO.dll" | grep -qx DlPortWritePortUchar || fail "DlPortIO.dll does not export DlPortWritePortUchar"
check_driver mirage "Simulated LCD interface"
# The simulated display's icon 101 (one 16 x 16 image in 16 colours) and menu 102.
mirage=$bin/mirage.dll
if [ -f "$mirage" ]; then
  wrestool -l --type=14 --name=101 "$mirage" 2>/dev/null | grep -q . || fail "mirage.dll has no icon 101"
  icon=$(wrestool -x --type=14 --name=101 "$mirage" 2>/dev/null | icotool -l - 2>/dev/null)
  [ "$icon" = "--icon --index=1 --width=16 --height=16 --bit-depth=4 --palette-size=16" ] ||
    fail "mirage.dll's icon 101 is not one 16 x 16 image in 16 colours: $icon"
  items=$(wrestool -x --raw --type=4 --name=102 "$mirage" 2>/dev/null | iconv -f UTF-16LE -t UTF-8 -c |
    tr '\000' '\n' | grep -a . | tr '\n' '|')
  case $items in
    *"Menu|"*"Change &Font...|"*"Change Text &Color...|"*"Change &Background Color...|"*"&Always on top|"*) ;;
    *) fail "mirage.dll's menu 102 is not the display's menu: $items" ;;
  esac
fi
check_driver kestrel "Crystalfontz interface"
check_driver finch "LCDriver 1.x interface"
# finch is bound by name to the twelve functions of lcdriver.cpl (ours), which
# exports them plainly beside its LCDriverVirtual... functions and nothing else.
lcd_functions="lcdClearDisplay lcdDisableMarquee lcdEnableMarquee lcdFree lcdGetHeight lcdGetWidth lcdRequest \
lcdSendString lcdSetCursor lcdSetCursorPos lcdSetCustomChar lcdSetWrapMode"
one_line() { sort | tr '\n' ' ' | sed 's/ $//'; }
[ "$(imported_from "$bin/finch.dll" lcdriver.cpl | one_line)" = "$lcd_functions" ] ||
  fail "finch.dll imports from lcdriver.cpl: $(imported_from "$bin/finch.dll" lcdriver.cpl | one_line)"
[ "$(exports "$bin/lcdriver.cpl" | grep -v '^LCDriverVirtual' | one_line)" = "$lcd_functions" ] ||
  fail "lcdriver.cpl exports: $(exports "$bin/lcdriver.cpl" | one_line)"
exports "$bin/lumora.dll" | grep -qx DisplaySendEvent || fail "lumora.dll does not export DisplaySendEvent"

machine=$(objdump -f "$bin/lumora.dll" | awk '/file format/ {print $NF}')
if [ $failed = 0 ]; then
  echo "checked $bin ($machine): exports, imports and descriptions as they should be"
fi
exit $failed
