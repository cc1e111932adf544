#!/bin/bash
# Installs the Debian packages named on the command line that this machine
# lacks, saying which, and does nothing when all are there.
#   ensure-packages.sh PACKAGE...
set -eu
missing=()
for package in "$@"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing what this machine lacks: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
echo "installed: ${missing[*]}"
