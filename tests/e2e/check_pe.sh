#!/usr/bin/env bash
# Checks that the built program is a PE32+ x86-64 Windows GUI program that imports only DLLs
# every Windows has (no runtime DLL of the compiler may be needed beside it), and that it is
# hardened and stripped: ASLR with high-entropy addresses, DEP, relocations kept, no symbols,
# no link time stamp; and that it stays within 64 KiB.
set -euo pipefail
exe="$1"
dump=$(x86_64-w64-mingw32-objdump -p "$exe")
fail=0
grep -q 'file format pei-x86-64' <<<"$dump" || { echo "not a PE32+ x86-64 image"; fail=1; }
grep -qE '^Magic\s+020b' <<<"$dump" || { echo "optional header is not PE32+"; fail=1; }
grep -qE '^Subsystem\s+00000002' <<<"$dump" || { echo "subsystem is not Windows GUI"; fail=1; }
chars=$(sed -n 's/^DllCharacteristics\s*//p' <<<"$dump")
for flag in 0x20:HIGH_ENTROPY_VA 0x40:DYNAMIC_BASE 0x100:NX_COMPAT; do
  (( (16#${chars:-0} & ${flag%%:*}) != 0 )) || { echo "DllCharacteristics $chars lacks ${flag#*:}"; fail=1; }
done
x86_64-w64-mingw32-objdump -h "$exe" | grep -q ' \.reloc ' || { echo "no .reloc section: ASLR cannot move it"; fail=1; }
x86_64-w64-mingw32-nm "$exe" 2>&1 | grep -q 'no symbols' || { echo "not stripped: symbols present"; fail=1; }
grep -qE '^Time/Date\s+Thu Jan  1 00:00:00 1970' <<<"$dump" || { echo "the header carries a link time stamp"; fail=1; }
size=$(stat -c %s "$exe")
[ "$size" -le 65536 ] || { echo "$size bytes: more than 64 KiB"; fail=1; }
allowed='^(kernel32|user32|gdi32|advapi32|shell32|msvcrt)\.dll$'
while read -r dll; do
  if ! grep -qiE "$allowed" <<<"$dll"; then
    echo "imports a DLL that is not part of every Windows: $dll"; fail=1
  fi
  echo "imports $dll"
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
[ "$fail" = 0 ] && echo "PE checks passed: $exe ($size bytes)"
exit $fail
