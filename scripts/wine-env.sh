# Sourced by the scripts that run Wine: the build tree's own prefix, quiet, no Mono/Gecko
# download prompt, and always the 64-bit loader.
#
# Debian's `wine`, `wineboot` and friends start the 32-bit loader whenever wine32 is
# installed, and some kernels cannot start 32-bit programs at all: there every such call
# fails. The 64-bit loader runs every 64-bit program on both kinds of machine and starts the
# 32-bit loader by itself (found through WINELOADER) only for a 32-bit program.
TARVELIN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${TARVELIN_WINEPREFIX:-$TARVELIN_ROOT/build/wineprefix}"
export WINEDEBUG=-all
# A test adds its own overrides through TARVELIN_DLL_OVERRIDES (name=n,b;...).
export WINEDLLOVERRIDES="mscoree,mshtml=${TARVELIN_DLL_OVERRIDES:+;$TARVELIN_DLL_OVERRIDES}"
export WINELOADER=/usr/lib/wine/wine64
TARVELIN_WINESERVER=/usr/lib/wine/wineserver64
# Where the set-up keeps what it found out about this machine.
TARVELIN_MACHINE_FILE="$TARVELIN_ROOT/build/machine-32bit"

# Every Wine call of the scripts goes through these.
wine64() { "$WINELOADER" "$@"; }
wineboot64() { "$WINELOADER" wineboot.exe "$@"; }
wineserver64() { "$TARVELIN_WINESERVER" "$@"; }

# Succeeds when this machine can start 32-bit programs; otherwise prints why not.
# TARVELIN_NO_32BIT=1 forces the answer "no", so that path can be tried anywhere.
can_run_32bit() {
  if [ "${TARVELIN_NO_32BIT:-0}" = 1 ]; then
    echo "TARVELIN_NO_32BIT=1 is set"
    return 1
  fi
  local answer
  answer=$(cat "$TARVELIN_MACHINE_FILE" 2>/dev/null) || answer="no: the set-up has not probed this machine (run make setup)"
  [ "$answer" = yes ] && return 0
  echo "${answer#no: }"
  return 1
}

# Runs a command inside a fresh X server (Xvfb) with the given screen, e.g. 1280x1024x24.
# A server that cannot start is reported as such, not as a failure of the command.
export TARVELIN_WINESERVER
in_xvfb() {
  local screen="$1"
  shift
  local started xlog="$TARVELIN_ROOT/build/xvfb.log"
  started=$(mktemp -u "${TMPDIR:-/tmp}/tarvelin-xvfb.XXXXXX")
  mkdir -p "$TARVELIN_ROOT/build"
  # xvfb-run starts the command even when Xvfb did not come up: ask the server first.
  TARVELIN_XVFB_STARTED="$started" xvfb-run -a -e "$xlog" -s "-screen 0 $screen" \
    bash -c 'xwininfo -root >/dev/null 2>&1 || exit 1
             touch "$TARVELIN_XVFB_STARTED"; exec "$@"' bash "$@"
  local rc=$?
  if [ ! -e "$started" ]; then
    echo "xvfb: the X server (Xvfb) did not start (see $xlog); try: make setup, or run with a DISPLAY" >&2
    rc=1
  fi
  rm -f "$started"
  return $rc
}
