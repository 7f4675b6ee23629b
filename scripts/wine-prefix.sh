#!/usr/bin/env bash
# Creates the build tree's Wine prefix once. Quick when it exists.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
[ -f "$WINEPREFIX/.tarvelin-ready-2" ] && exit 0
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$WINEPREFIX/.tarvelin-ready-2" ] && exit 0
echo "wine: creating prefix $WINEPREFIX"
# Created without a display; the server is shut down afterwards so that the GUI runs start
# a fresh one on their own display.
DISPLAY= wineboot -i >/dev/null 2>&1
# Under Xvfb there is no window manager: let Wine draw the title bar itself, and manage its
# windows itself too. Otherwise every hidden or destroyed window waits two seconds for a
# window manager that never answers, which made the GUI tests five times slower.
for value in Decorated Managed; do
  DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v $value /t REG_SZ /d N /f >/dev/null 2>&1
done
wineserver -w
touch "$WINEPREFIX/.tarvelin-ready-2"
