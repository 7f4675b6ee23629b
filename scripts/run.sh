#!/usr/bin/env bash
# Starts the built program under Wine. Without a display it runs it under Xvfb instead,
# saves a screenshot of the dialog and closes it again.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$TARVELIN_ROOT"
exe=build/win64/Tarvelin.exe

if [ -n "${DISPLAY:-}" ]; then
  # A server left over from a run on another display would keep the window from showing.
  wineserver64 -k >/dev/null 2>&1
  wine64 "$exe"
  exit 0
fi

out=build/screenshot.png
in_xvfb 1024x768x24 scripts/screenshot.sh "$exe" "$out" || exit 1
echo "No display: Tarvelin ran under Xvfb; screenshot of the dialog saved to $out"
