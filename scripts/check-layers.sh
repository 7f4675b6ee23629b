#!/usr/bin/env bash
# Dependencies run one way: app/, cli/ and dsc/ on top (dsc/, the DSC resource, may use
# cli/); autologon/, settings/, links/ and json/ (JSON text) below them; base/ at the ground,
# including nothing of ours. res/ holds resource ids and version numbers for whoever shows
# them. Every #include "..." of a folder must name a header of a folder it may use; any
# other include fails the check.
set -uo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [base]="base"
  [settings]="settings base"
  [links]="links base res"
  [autologon]="autologon base"
  [app]="app autologon settings links base res"
  [json]="json base"
  [cli]="cli json autologon base res"
  [dsc]="dsc cli json autologon base res"
)

declare -A home
for h in $(git ls-files -co --exclude-standard '*.h'); do
  home[${h##*/}]+="${h%%/*} "
done

fail=0
for folder in "${!allowed[@]}"; do
  for file in $(git ls-files -co --exclude-standard "$folder/*.cpp" "$folder/*.h"); do
    while IFS=: read -r line name; do
      owners=${home[$name]:-}
      [ -z "$owners" ] && continue # a header of the system or the compiler
      ok=0
      for owner in $owners; do
        [[ " ${allowed[$folder]} " == *" $owner "* ]] && ok=1
      done
      if [ "$ok" = 0 ]; then
        echo "$file:$line: includes \"$name\" of ${owners% }/, but $folder/ may use only: ${allowed[$folder]}"
        fail=1
      fi
    done < <(grep -n -o '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*"' "$file" |
             sed 's/^\([0-9]*\):.*"\([^"]*\)"$/\1:\2/')
  done
done
[ "$fail" = 0 ] || { echo "layers: includes above go the wrong way"; exit 1; }
echo "layers: every include goes down"
