#!/usr/bin/env bash
# Redraws the README's pictures: the dialog with its Program menu open, in English and
# German, kept small.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$TARVELIN_ROOT"
for lang in en:en_US.UTF-8 de:de_DE.UTF-8; do
  shot="build/screenshot-${lang%%:*}.png"
  in_xvfb 1024x768x24 scripts/screenshot.sh build/win64/Tarvelin.exe "$shot" "${lang#*:}" menu || exit 1
  convert "$shot" -strip +dither -colors 32 "PNG8:docs/screenshot-${lang%%:*}.png" || exit 1
done
echo "screenshots: docs/screenshot-en.png docs/screenshot-de.png"
