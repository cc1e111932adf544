#!/bin/bash
# Runs the end-to-end suite (the program on real ptys, the settings file on
# disk) under valgrind's memcheck, the programs it starts included. Any error
# fails the run: the programs exit with status 99 and their tests fail.
#   valgrind-e2e.sh BIN-DIR
set -u
bin=$1
suppressions=$(cd "$(dirname "$0")" && pwd)/valgrind.supp
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
# nouserintercepts: the suite's own operator new (which fails on request) stays its own.
# The ten thousand openings of a line are left to the native and sanitizer runs:
# they count handles and heap bytes there, and take minutes under valgrind.
(cd "$bin" && valgrind -q --trace-children=yes --error-exitcode=99 --leak-check=full \
    --errors-for-leak-kinds=definite --soname-synonyms=somalloc=nouserintercepts --suppressions="$suppressions" \
    --log-file="$logs/%p.log" ./posix_test --gtest_brief=1 --gtest_filter='-Faults.TenThousand*')
status=$?
if [ $status != 0 ]; then
  echo "valgrind: the end-to-end suite failed (status $status); what valgrind said:"
  cat "$logs"/*.log
  exit 1
fi
echo "valgrind: the end-to-end suite ran clean under memcheck"
