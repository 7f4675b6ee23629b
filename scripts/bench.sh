#!/usr/bin/env bash
# Runs the floor and Tarvelin alternately under Wine + Xvfb and writes build/bench.txt.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$TARVELIN_ROOT"
out=build/bench.txt
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -k >/dev/null 2>&1
  wine build/win64/bench/bench_timer.exe build\\win64\\bench\\floor.exe build\\win64\\Tarvelin.exe "${BENCH_PAIRS:-31}"
  rc=$?
  wineserver -k >/dev/null 2>&1
  exit $rc' | tr -d '\r' | tee "$out"
echo "written to $out"
