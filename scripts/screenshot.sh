#!/usr/bin/env bash
# Inside an X server: starts a program, waits for its dialog, saves a picture of it, ends it.
#   screenshot.sh EXE OUT.png [LC_ALL] [extra driver step: menu]
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
exe="$1"; out="$2"
title="Tarvelin 1.01 - x64"
wineserver -k >/dev/null 2>&1 || true
wine "$exe" >/dev/null 2>&1 &
for _ in $(seq 1 300); do
  xwininfo -name "$title" 2>/dev/null | grep -q 'IsViewable' && break
  sleep 0.1
done
xwininfo -name "$title" 2>/dev/null | grep -q 'IsViewable' || { echo "the dialog did not appear"; wineserver -k; exit 1; }
sleep 1 # let it paint
import -window "$title" "$out"
wineserver -k >/dev/null 2>&1 || true
