#!/usr/bin/env bash
# Checks that each built program is a PE32+ x86-64 program of the expected subsystem (the
# dialog: Windows GUI; tarvelin-cli: console) that imports at load time only KnownDLLs (no
# runtime DLL of the compiler may be needed beside it, and Windows takes a KnownDLL from the
# system folder only, where any other import is looked for beside the program first, before
# its first line runs), and that it is hardened and stripped: ASLR with high-entropy
# addresses, DEP, relocations kept, no symbols, no link time stamp; and that it stays within
# its size: 40 KiB for the dialog, 144 KiB for tarvelin-cli. An Authenticode signature does not
# count: its size is the certificate chain's, whoever signs, not the program's.
# Usage: check_pe.sh EXE [gui|console] [EXE gui|console]...
set -euo pipefail
check() {
  local exe="$1" kind="$2" dump fail=0 chars size dll
  dump=$(x86_64-w64-mingw32-objdump -p "$exe")
  grep -q 'file format pei-x86-64' <<<"$dump" || { echo "$exe: not a PE32+ x86-64 image"; fail=1; }
  grep -qE '^Magic\s+020b' <<<"$dump" || { echo "$exe: optional header is not PE32+"; fail=1; }
  case "$kind" in
    gui) grep -qE '^Subsystem\s+00000002' <<<"$dump" || { echo "$exe: subsystem is not Windows GUI"; fail=1; } ;;
    console) grep -qE '^Subsystem\s+00000003' <<<"$dump" || { echo "$exe: subsystem is not console"; fail=1; } ;;
    *) echo "unknown subsystem kind: $kind"; return 1 ;;
  esac
  chars=$(sed -n 's/^DllCharacteristics\s*//p' <<<"$dump")
  for flag in 0x20:HIGH_ENTROPY_VA 0x40:DYNAMIC_BASE 0x100:NX_COMPAT; do
    (( (16#${chars:-0} & ${flag%%:*}) != 0 )) || { echo "$exe: DllCharacteristics $chars lacks ${flag#*:}"; fail=1; }
  done
  x86_64-w64-mingw32-objdump -h "$exe" | grep -q ' \.reloc ' || { echo "$exe: no .reloc section: ASLR cannot move it"; fail=1; }
  x86_64-w64-mingw32-nm "$exe" 2>&1 | grep -q 'no symbols' || { echo "$exe: not stripped: symbols present"; fail=1; }
  grep -qE '^Time/Date\s+Thu Jan  1 00:00:00 1970' <<<"$dump" || { echo "$exe: the header carries a link time stamp"; fail=1; }
  local limit signature
  case "$kind" in gui) limit=40960 ;; console) limit=147456 ;; esac
  # The data directory's entry 4 is the attribute certificate table: its offset and size.
  signature=$(awk '/^Entry 4 .*Security Directory/ { print $4 }' <<<"$dump")
  signature=$(( 16#${signature:-0} ))
  size=$(( $(stat -c %s "$exe") - signature ))
  [ "$size" -le "$limit" ] || { echo "$exe: $size bytes: more than $((limit / 1024)) KiB"; fail=1; }
  # The KnownDLLs of Windows 10 and 11 (HKLM\SYSTEM\CurrentControlSet\Control\Session
  # Manager\KnownDLLs); anything else is loaded at run time from the system folder.
  local known='^(advapi32|combase|comdlg32|gdi32|gdiplus|imagehlp|imm32|kernel32|msctf|msvcrt'
  known+='|normaliz|nsi|ole32|oleaut32|psapi|rpcrt4|sechost|setupapi|shcore|shell32|shlwapi'
  known+='|user32|wldap32|ws2_32)\.dll$'
  while read -r dll; do
    if ! grep -qiE "$known" <<<"$dll"; then
      echo "$exe: imports $dll at load time, which is no KnownDLL: Windows would look for it beside the program first"; fail=1
    fi
    echo "imports $dll"
  done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
  [ "$fail" = 0 ] && echo "PE checks passed: $exe ($kind, $size bytes$( ((signature == 0)) || echo " and a signature of $signature"))"
  return $fail
}

[ $# -eq 1 ] && set -- "$1" gui
status=0
while [ $# -ge 2 ]; do
  check "$1" "$2" || status=1
  shift 2
done
[ $# -eq 0 ] || { echo "usage: check_pe.sh EXE [gui|console] [EXE gui|console]..."; exit 2; }
exit $status
