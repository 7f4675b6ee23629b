#!/usr/bin/env bash
# Writes dist/Tarvelin-1.01-x64.zip (Tarvelin.exe, README, LICENSE) and dist/SHA256SUMS.
# File times in the archive are the last commit's, so the same commit gives the same zip.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
name=Tarvelin-1.01-x64
stage="build/dist/$name"
rm -rf build/dist dist
mkdir -p "$stage" dist
cp build/win64/Tarvelin.exe "$stage/"
cp README.md "$stage/README.md"
cp LICENSE "$stage/LICENSE"
stamp=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)
find "$stage" -exec touch -h -d "@$stamp" {} +
(cd build/dist && TZ=UTC zip -q -X -D -r "$root/dist/$name.zip" "$name")
(cd dist && sha256sum "$name.zip" > SHA256SUMS && sha256sum -b "../$stage/Tarvelin.exe" | sed "s|\.\./$stage/|$name/|" >> SHA256SUMS)
echo "dist/$name.zip ($(stat -c %s "dist/$name.zip") bytes)"
cat dist/SHA256SUMS
