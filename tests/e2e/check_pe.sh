#!/usr/bin/env bash
# Checks that the built program is a PE32+ x86-64 Windows GUI program that imports only DLLs
# every Windows has: no runtime DLL of the compiler may be needed beside it.
set -euo pipefail
exe="$1"
dump=$(x86_64-w64-mingw32-objdump -p "$exe")
fail=0
grep -q 'file format pei-x86-64' <<<"$dump" || { echo "not a PE32+ x86-64 image"; fail=1; }
grep -qE '^Magic\s+020b' <<<"$dump" || { echo "optional header is not PE32+"; fail=1; }
grep -qE '^Subsystem\s+00000002' <<<"$dump" || { echo "subsystem is not Windows GUI"; fail=1; }
allowed='^(kernel32|user32|gdi32|advapi32|shell32|msvcrt)\.dll$'
while read -r dll; do
  if ! grep -qiE "$allowed" <<<"$dll"; then
    echo "imports a DLL that is not part of every Windows: $dll"; fail=1
  fi
  echo "imports $dll"
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
[ "$fail" = 0 ] && echo "PE checks passed: $exe"
exit $fail
