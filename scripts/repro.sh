#!/usr/bin/env bash
# Builds Tarvelin.exe twice from scratch, in two folders of different depth, and fails unless
# the two files are byte-identical: no time stamps and no build paths in the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$root/build/repro"
rm -rf "$work"
for dir in "$work/a" "$work/second/b"; do
  cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DTARVELIN_TESTS=OFF >/dev/null
  cmake --build "$dir" --target Tarvelin -j "$(nproc)" >/dev/null
done
a="$work/a/Tarvelin.exe" b="$work/second/b/Tarvelin.exe"
if cmp "$a" "$b"; then
  echo "reproducible: two clean builds give the same $(stat -c %s "$a") bytes, sha256 $(sha256sum "$a" | cut -c1-16)..."
  rm -rf "$work"
else
  echo "NOT reproducible: $a and $b differ"
  exit 1
fi
