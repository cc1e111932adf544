#!/bin/bash
# Runs every fuzz target for SECONDS each, keeping each target's corpus under
# build/linux-fuzz/corpus so that later runs start where earlier ones ended.
# Prints one line a target: runs, and whether anything was found.
#   fuzz.sh SECONDS
set -u
seconds=${1:-60}
bin=build/linux-fuzz/bin
failed=0
for target in settings_file_fuzz port_name_fuzz emulator_fuzz driver_fuzz wren_fuzz; do
  corpus=build/linux-fuzz/corpus/$target
  mkdir -p "$corpus" build/linux-fuzz/findings
  log=build/linux-fuzz/$target.log
  (cd "$bin" && ./$target -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix=../findings/$target- ../corpus/$target) >"$log" 2>&1
  status=$?
  runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
  if [ $status = 0 ]; then
    echo "fuzz: $target: ${runs:-?} runs in ${seconds} s, nothing found"
  else
    echo "fuzz: $target FAILED after ${runs:-?} runs (input kept in build/linux-fuzz/findings):"
    grep -E 'ERROR|SUMMARY|shows|Failure' "$log" | head -5
    failed=1
  fi
done
exit $failed
