#!/usr/bin/env bash
# The typed password must never reach the registry. Runs Set and Remove with a marked
# password, and tarvelin-cli's set with it on standard input (through the credential check,
# and without it), shuts the Wine session down so that the registry files are written, and
# searches them for the password as a .reg file would hold it: plain text, or UTF-16 bytes in
# hex. A control value written the same way must be found, or the search proves nothing. The
# console program's output must not show the password either.
set -uo pipefail
. "$(dirname "$0")/../../scripts/wine-env.sh"
driver="$1"
cli="$2"
password='Trail-7Qx-Pw-4931' # typed by PasswordTrail.SetAndRemoveWithAMarkedPassword
control='Trail-Control-8814'
control_key='HKCU\Software\TarvelinTrailControl'

# UTF-16LE bytes as .reg hex lists write them, without separators: "54,00,72,00" -> 54007200.
hex() { printf '%s' "$1" | iconv -f ascii -t utf-16le | od -An -tx1 | tr -d ' \n'; }
# The files with line continuations and separators taken out, so hex runs are unbroken.
flat() { tr -d '\\\n\r ,' <"$1"; }

cleanup() {
  wine64 reg delete "$control_key" /f >/dev/null 2>&1
  wineserver64 -w
}
trap cleanup EXIT

wine64 "$driver" --gtest_filter='PasswordTrail.*' || { echo "FAIL: the driver step failed"; exit 1; }
fail=0
for options in "" "--no-verify"; do
  output=$(printf '%s\r\n' "$password" | wine64 "$cli" set --user trail --domain PC $options 2>&1)
  if grep -qF "$password" <<<"$output"; then
    echo "FAIL: tarvelin-cli set $options shows the password"
    fail=1
  fi
  grep -qE '^Credential check' <<<"$output" ||
    { echo "FAIL: tarvelin-cli set $options did not get to the credential check: $output"; fail=1; }
done
wine64 reg add "$control_key" /v Marker /t REG_SZ /d "$control" /f >/dev/null 2>&1
wineboot64 -s >/dev/null 2>&1
wineserver64 -w

found_control=0
for file in "$WINEPREFIX"/*.reg; do
  grep -qF "$control" "$file" && found_control=1
  if grep -qiF "$password" "$file" || flat "$file" | grep -qiF "$(hex "$password")"; then
    echo "FAIL: the password stands in $(basename "$file")"
    fail=1
  fi
done
if [ "$found_control" = 0 ]; then
  echo "FAIL: the control value is in no registry file: the search proves nothing"
  fail=1
fi
[ "$fail" = 0 ] && echo "the password appears in no registry file of $WINEPREFIX"
exit $fail
