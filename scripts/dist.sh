#!/usr/bin/env bash
# Writes dist/Tarvelin-1.01-x64.zip (Tarvelin.exe, tarvelin-cli.exe, README, LICENSE and the
# README's pictures) and dist/SHA256SUMS (the zip and both programs).
# File times in the archive are the last commit's, so the same commit gives the same zip.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
name=Tarvelin-1.01-x64
stage="build/dist/$name"
rm -rf build/dist dist
mkdir -p "$stage" dist
exes=(Tarvelin.exe tarvelin-cli.exe)
for exe in "${exes[@]}"; do cp "build/win64/$exe" "$stage/"; done
cp README.md "$stage/README.md"
cp LICENSE "$stage/LICENSE"
# The README shows these pictures by their relative path.
mkdir -p "$stage/docs"
cp docs/*.png "$stage/docs/"
grep -o 'docs/[A-Za-z0-9._-]*\.png' README.md | sort -u | while read -r picture; do
  [ -f "$stage/$picture" ] || { echo "dist: the README shows $picture, which does not exist" >&2; exit 1; }
done
stamp=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)
find "$stage" -exec touch -h -d "@$stamp" {} +
(cd build/dist && TZ=UTC zip -q -X -D -r "$root/dist/$name.zip" "$name")
(cd dist && sha256sum "$name.zip" > SHA256SUMS &&
  for exe in "${exes[@]}"; do sha256sum -b "../$stage/$exe" | sed "s|\.\./$stage/|$name/|"; done >> SHA256SUMS)
echo "dist/$name.zip ($(stat -c %s "dist/$name.zip") bytes)"
cat dist/SHA256SUMS
