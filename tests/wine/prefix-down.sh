#!/bin/bash
# Stops the build's wineserver once the tests are done.
export WINEPREFIX=$1
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
exit 0
