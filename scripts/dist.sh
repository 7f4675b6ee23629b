#!/usr/bin/env bash
# Writes the release into dist/ (DIST_DIR=... elsewhere), from the build in build/win64
# (TARVELIN_BUILD=...):
#   Tarvelin-<version>-x64.zip  Tarvelin.exe, tarvelin-cli.exe and the DSC resource manifest
#                               beside it, README with its pictures, LICENSE
#   SHA256SUMS                  the zip, both programs and the DSC manifest
#   winget/, scoop/             the package manifests of that zip (scripts/manifests.js)
# With SIGN_PFX and SIGN_PASSWORD_FILE (and SIGN_TIMESTAMP_URL) both programs are signed and
# verified (scripts/sign.sh) before they are zipped and hashed. The old release is removed
# first and the new one moved in only when every step passed, so a failure leaves none.
# File times in the archive are the last commit's, so the same commit gives the same zip.
set -euo pipefail
# Paths as given relative to the folder it was started in (the project's, under make).
for var in DIST_DIR TARVELIN_BUILD SIGN_PFX SIGN_PASSWORD_FILE; do
  if [ -n "${!var:-}" ]; then export "$var=$(realpath -m "${!var}")"; fi
done
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${TARVELIN_BUILD:-build/win64}"
out="${DIST_DIR:-dist}"
fail() {
  echo "dist: $1" >&2
  exit 1
}
fact() { node -p "require(require('path').resolve(process.argv[1])).$1" "$build/release.json"; }

name="Tarvelin-$(fact version)-x64"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage="$work/$name"
# Only what this script writes, whatever folder DIST_DIR names.
rm -rf "$out"/Tarvelin-*-x64.zip "$out/SHA256SUMS" "$out/winget" "$out/scoop"
mkdir -p "$stage" "$work/out"
exes=(Tarvelin.exe tarvelin-cli.exe)
for exe in "${exes[@]}"; do cp "$build/$exe" "$stage/"; done
# dsc looks for resource manifests beside the programs, in the folders on PATH.
dsc=tarvelin.dsc.resource.json
cp "$build/$dsc" "$stage/"
cp README.md "$stage/README.md"
cp LICENSE "$stage/LICENSE"
# The README shows these pictures by their relative path.
mkdir -p "$stage/docs"
cp docs/*.png "$stage/docs/"
grep -o 'docs/[A-Za-z0-9._-]*\.png' README.md | sort -u | while read -r picture; do
  [ -f "$stage/$picture" ] || fail "the README shows $picture, which does not exist"
done

if [ -n "${SIGN_PFX:-}" ]; then
  scripts/sign.sh Tarvelin "$(fact productPage)" "${exes[@]/#/$stage/}" || fail "not signed, so no release written"
elif [ -n "${SIGN_PASSWORD_FILE:-}${SIGN_TIMESTAMP_URL:-}" ]; then
  fail "SIGN_PASSWORD_FILE and SIGN_TIMESTAMP_URL need SIGN_PFX, the certificate to sign with"
fi

stamp=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)
find "$stage" -exec touch -h -d "@$stamp" {} +
# In name order, not the order the file system lists them in.
(cd "$work" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D "out/$name.zip" -@)
(cd "$work/out" && sha256sum "$name.zip" >SHA256SUMS &&
  cd "$work" && sha256sum -b "${exes[@]/#/$name/}" "$name/$dsc" >>out/SHA256SUMS)
node scripts/manifests.js "$build" "$work/out/$name.zip" "$work/out" "${exes[@]}"

mkdir -p "$out"
mv "$work/out"/* "$out/"
echo "$out/$name.zip ($(stat -c %s "$out/$name.zip") bytes)"
cat "$out/SHA256SUMS"
(cd "$out" && ls winget/* scoop/*)
