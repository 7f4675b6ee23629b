#!/usr/bin/env bash
# Inside an X server: starts a program, waits for its dialog, saves a picture of it, ends it.
#   screenshot.sh EXE OUT.png [LC_ALL] [menu]
# With "menu" the Program menu is opened first (by tests/e2e/open_menu.exe of the build);
# the popup is a window of its own, so the picture is then cut from the whole screen.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
exe="$1"; out="$2"; locale="${3:-${LC_ALL:-}}"; step="${4:-}"
title="Tarvelin 1.01 - x64"
wineserver64 -k >/dev/null 2>&1 || true
# Only Wine gets the locale: the host need not have it generated.
env ${locale:+LC_ALL="$locale"} "$WINELOADER" "$exe" >/dev/null 2>&1 &
for _ in $(seq 1 300); do
  xwininfo -name "$title" 2>/dev/null | grep -q 'IsViewable' && break
  sleep 0.1
done
xwininfo -name "$title" 2>/dev/null | grep -q 'IsViewable' || { echo "the dialog did not appear"; wineserver64 -k; exit 1; }
sleep 1 # let it paint
if [ "$step" = menu ]; then
  wine64 "$(dirname "$exe")/tests/e2e/open_menu.exe" || { echo "the menu did not open"; wineserver64 -k; exit 1; }
  sleep 1
  geometry=$(xwininfo -name "$title" | awk '
    /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {printf "%dx%d+%d+%d", w, h, x, y}')
  import -window root -crop "$geometry" +repage "$out"
else
  import -window "$title" "$out"
fi
wineserver64 -k >/dev/null 2>&1 || true
