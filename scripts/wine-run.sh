#!/usr/bin/env bash
# Runs a 64-bit Windows program under Wine in the build tree's prefix (also CMake's test
# emulator).
. "$(dirname "$0")/wine-env.sh"
"$TARVELIN_ROOT/scripts/wine-prefix.sh" || exit 1
exec "$WINELOADER" "$@"
