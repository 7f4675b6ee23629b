#!/usr/bin/env bash
# Starts the built program under Wine. Without a display it runs it under Xvfb instead,
# saves a screenshot of the dialog and closes it again.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$TARVELIN_ROOT"
exe=build/win64/Tarvelin.exe

if [ -n "${DISPLAY:-}" ]; then
  # A server left over from a run on another display would keep the window from showing.
  wineserver -k >/dev/null 2>&1 || true
  wine "$exe"
  exit 0
fi

out=build/screenshot.png
xvfb-run -a -s "-screen 0 1024x768x24" scripts/screenshot.sh "$exe" "$out"
echo "No display: Tarvelin ran under Xvfb; screenshot of the dialog saved to $out"
