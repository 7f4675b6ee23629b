#!/usr/bin/env bash
# Runs the floor and Tarvelin alternately under Wine + Xvfb, then the console floor and
# `tarvelin-cli status`, and writes build/bench.txt.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$TARVELIN_ROOT"
out=build/bench.txt
in_xvfb 1280x1024x24 bash -c '
  "$TARVELIN_WINESERVER" -k >/dev/null 2>&1
  "$WINELOADER" build/win64/bench/bench_timer.exe build\\win64\\bench\\floor.exe build\\win64\\Tarvelin.exe "${BENCH_PAIRS:-31}"
  rc=$?
  echo
  "$WINELOADER" build/win64/bench/bench_timer.exe --console build\\win64\\bench\\console_floor.exe build\\win64\\tarvelin-cli.exe "${BENCH_PAIRS:-31}" || rc=1
  "$TARVELIN_WINESERVER" -k >/dev/null 2>&1
  exit $rc' | tr -d '\r' | tee "$out"
[ "${PIPESTATUS[0]}" = 0 ] || { echo "bench: the timer failed (output above)" >&2; exit 1; }
echo "written to $out"
