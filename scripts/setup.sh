#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, once. Quiet and quick when
# everything is already there, so that every make target can call it.
set -euo pipefail

pkgs=(
  cmake make
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 wine32:i386
  xvfb xauth x11-utils imagemagick zip
  googletest libgtest-dev
  clang clang-format clang-tidy cppcheck libclang-rt-14-dev
)

missing=()
for p in "${pkgs[@]}"; do
  # dpkg-query names i386 packages with their architecture suffix.
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
