#!/usr/bin/env bash
# Runs every test tier in one ctest run, inside one X server for the Wine tiers.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$TARVELIN_ROOT"
"$TARVELIN_ROOT/scripts/wine-prefix.sh" || exit 1

# One test tree over the build folders, so that ctest prints one summary for all tiers.
dirs=""
for d in "$@"; do dirs="$dirs \"$d\""; done
printf 'subdirs(%s)\n' "$dirs" > build/CTestTestfile.cmake

exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -k >/dev/null 2>&1
  ctest --test-dir build --output-on-failure --timeout 900
  rc=$?
  wineserver -k >/dev/null 2>&1
  exit $rc'
