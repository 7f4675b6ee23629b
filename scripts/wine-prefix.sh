#!/usr/bin/env bash
# Creates the build tree's Wine prefix once. Quick when it exists.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
# A prefix made where 32-bit programs cannot start has no 32-bit half (no syswow64, no
# Wow6432Node), so it is made again if the machine's answer differs from its maker's.
kind=$(cut -d: -f1 "$TARVELIN_MACHINE_FILE" 2>/dev/null)
ready="$WINEPREFIX/.tarvelin-ready-3-32bit-${kind:-unknown}"
[ -f "$ready" ] && exit 0
log="$TARVELIN_ROOT/build/wineprefix.log"
fail() {
  wineserver64 -k >/dev/null 2>&1
  echo "wine: $1 (see $log); try: rm -rf $WINEPREFIX and run make again" >&2
  exit 1
}
mkdir -p "$(dirname "$log")"
mkdir -p "$WINEPREFIX" 2>"$log" || fail "cannot create the prefix folder $WINEPREFIX"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$ready" ] && exit 0
if compgen -G "$WINEPREFIX/.tarvelin-ready-*" >/dev/null; then
  echo "wine: the prefix was made by an older set-up or on another kind of machine; making it again"
  wineserver64 -k >/dev/null 2>&1
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
fi
echo "wine: creating prefix $WINEPREFIX"
# Created without a display; the server is shut down afterwards so that the GUI runs start
# a fresh one on their own display.
DISPLAY= wineboot64 -i >"$log" 2>&1 || fail "creating the prefix with $WINELOADER failed"
# Under Xvfb there is no window manager: let Wine draw the title bar itself, and manage its
# windows itself too. Otherwise every hidden or destroyed window waits two seconds for a
# window manager that never answers, which made the GUI tests five times slower.
for value in Decorated Managed; do
  DISPLAY= wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v $value /t REG_SZ /d N /f >>"$log" 2>&1 ||
    fail "setting the X11 driver's $value value failed"
done
wineserver64 -w
touch "$ready"
