#!/usr/bin/env bash
# Builds Tarvelin.exe and tarvelin-cli.exe twice from scratch, in two folders of different
# depth, and fails unless each pair is byte-identical: no time stamps and no build paths.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$root/build/repro"
rm -rf "$work"
for dir in "$work/a" "$work/second/b"; do
  cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DTARVELIN_TESTS=OFF >/dev/null
  cmake --build "$dir" --target Tarvelin tarvelin-cli -j "$(nproc)" >/dev/null
done
fail=0
for exe in Tarvelin.exe tarvelin-cli.exe; do
  a="$work/a/$exe" b="$work/second/b/$exe"
  if cmp "$a" "$b"; then
    echo "reproducible: two clean builds give the same $exe, $(stat -c %s "$a") bytes, sha256 $(sha256sum "$a" | cut -c1-16)..."
  else
    echo "NOT reproducible: $a and $b differ"
    fail=1
  fi
done
[ "$fail" = 0 ] && rm -rf "$work"
exit $fail
