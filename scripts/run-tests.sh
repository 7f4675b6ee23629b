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

in_xvfb 1280x1024x24 bash -c '
  "$TARVELIN_WINESERVER" -k >/dev/null 2>&1
  ctest --test-dir build --output-on-failure --timeout 900 -j "$(nproc)"
  rc=$?
  "$TARVELIN_WINESERVER" -k >/dev/null 2>&1
  exit $rc'
rc=$?
# The one case that needs 32-bit programs; ctest has listed it as skipped above.
if [ $rc = 0 ] && ! reason=$(can_run_32bit); then
  echo "skipped: e2e.wow64 (the 32-bit program under WOW64), because $reason"
fi
exit $rc
