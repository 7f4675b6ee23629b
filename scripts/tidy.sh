#!/usr/bin/env bash
# clang-tidy over every source file. The Windows sources are parsed as the cross compiler
# sees them (mingw target, its libstdc++), from the win64 build's compile_commands.json;
# the unit tests from the host build's. Any finding fails.
set -uo pipefail
start=$SECONDS
cd "$(dirname "$0")/.."
mingw_cxx=/usr/lib/gcc/x86_64-w64-mingw32/12-posix/include/c++
win_args=(-p build/win64 --quiet
  --extra-arg-before=--target=x86_64-w64-mingw32
  --extra-arg=-isystem$mingw_cxx --extra-arg=-isystem$mingw_cxx/x86_64-w64-mingw32
  --extra-arg=-Wno-unknown-warning-option)
host_args=(-p build/host --quiet --extra-arg=-Wno-unknown-warning-option)

win_files=$(git ls-files -co --exclude-standard 'app/*.cpp' 'autologon/*.cpp' 'settings/*.cpp' \
  'links/*.cpp' 'base/*.cpp' 'cli/*.cpp' 'tests/win32/*.cpp' 'tests/e2e/*.cpp')
host_files=$(git ls-files -co --exclude-standard 'tests/unit/*.cpp')

log=$(mktemp)
trap 'rm -f "$log"' EXIT
fail=0
printf '%s\n' $win_files | xargs -r -P "$(nproc)" -n 1 clang-tidy "${win_args[@]}" >>"$log" 2>&1 || fail=1
printf '%s\n' $host_files | xargs -r -P "$(nproc)" -n 1 clang-tidy "${host_args[@]}" >>"$log" 2>&1 || fail=1
if [ "$fail" != 0 ]; then
  grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' "$log"
  echo "clang-tidy: findings above"
  exit 1
fi
echo "clang-tidy: $(printf "%s\n" $win_files $host_files | wc -l) files clean ($((SECONDS - start)) s)"
