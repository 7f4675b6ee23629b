# Sourced by the scripts that run Wine: the build tree's own prefix, quiet, and no
# Mono/Gecko download prompt.
TARVELIN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${TARVELIN_WINEPREFIX:-$TARVELIN_ROOT/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
