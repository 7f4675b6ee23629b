#!/usr/bin/env bash
# Writes the release into dist/ (DIST_DIR=... elsewhere), from the build in build/win64
# (TARVELIN_BUILD=...):
#   Tarvelin-<version>-x64.zip  Tarvelin.exe, tarvelin-cli.exe and the DSC resource manifest
#                               beside it, README.md, LICENSE, the pages and pictures of docs/
#   SHA256SUMS                  the zip, both programs and the DSC manifest
#   winget/, scoop/             the package manifests of that zip (scripts/manifests.js)
# With SIGN_PFX and SIGN_PASSWORD_FILE (and SIGN_TIMESTAMP_URL) both programs are signed and
# verified (scripts/sign.sh) before they are zipped, and verified again as the zip holds them
# before anything is hashed. File times in the archive are the last commit's, and so is the
# signing time where no timestamp server is named: the same commit gives the same zip.
# A release of the same version in the folder is kept, and the run refused, unless REPLACE=1
# (make dist REPLACE=1) says to write it again. A release is removed before the new one is
# made, which is moved in only when every step passed, so a failure leaves none.
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
if [ -e "$out/$name.zip" ] && [ "${REPLACE:-}" != 1 ]; then
  fail "$out/$name.zip exists, and manifests may name it by its hash: to write this version again, make dist REPLACE=1 (or REPLACE=1 scripts/dist.sh)"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage="$work/$name"
# Only what this script writes, whatever folder DIST_DIR names.
rm -rf "$out"/Tarvelin-*-x64.zip "$out/SHA256SUMS" "$out/winget" "$out/scoop"
mkdir -p "$stage/docs" "$work/out"
exes=(Tarvelin.exe tarvelin-cli.exe)
for exe in "${exes[@]}"; do cp "$build/$exe" "$stage/"; done
# dsc looks for resource manifests beside the programs, in the folders on PATH.
dsc=tarvelin.dsc.resource.json
cp "$build/$dsc" README.md LICENSE "$stage/"
find docs -maxdepth 1 -type f \( -name '*.md' -o -name '*.png' \) -exec cp -t "$stage/docs" {} +
# Every page or picture under docs/ that the README or a page links to (inline, as a picture's
# src or by reference) must be in the zip. Web addresses and other files are not looked at.
for page in "$stage/README.md" "$stage"/docs/*.md; do
  [ -f "$page" ] || continue
  { grep -oE '\]\([^)[:space:]]+|src="[^"]+|^ {0,3}\[[^]]+\]:[[:space:]]*[^[:space:]]+' "$page" || true; } |
    sed -E 's/^(\]\(|src="| *\[[^]]+\]:[[:space:]]*)//; s/#.*//' | while read -r link; do
    case "$link" in '' | *:*) continue ;; esac
    target=$(realpath -m "$(dirname "$page")/$link")
    case "$target" in
      "$stage"/docs/*) [ -e "$target" ] || fail "${page#"$stage/"} links to ${target#"$stage/"}, which does not exist" ;;
    esac
  done
done

stamp=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)
if [ -n "${SIGN_PFX:-}" ]; then
  url=$(fact productPage)
  (cd "$stage" && SIGN_TIME="$stamp" "$root/scripts/sign.sh" Tarvelin "$url" "${exes[@]}") ||
    fail "not signed, so no release written"
elif [ -n "${SIGN_PASSWORD_FILE:-}${SIGN_TIMESTAMP_URL:-}" ]; then
  fail "SIGN_PASSWORD_FILE and SIGN_TIMESTAMP_URL need SIGN_PFX, the certificate to sign with"
fi

find "$stage" -exec touch -h -d "@$stamp" {} +
# In name order, not the order the file system lists them in.
(cd "$work" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D "out/$name.zip" -@)
# The programs as a user unzips them, so that nothing between signing and zipping goes unseen.
if [ -n "${SIGN_PFX:-}" ]; then
  unzip -q "$work/out/$name.zip" -d "$work/unzipped"
  (cd "$work/unzipped/$name" && "$root/scripts/sign.sh" --verify "${exes[@]}") ||
    fail "the zip's programs are not signed as they should be, so no release written"
fi
(cd "$work/out" && sha256sum "$name.zip" >SHA256SUMS)
(cd "$work" && for file in "${exes[@]}" "$dsc"; do sha256sum -b "$name/$file"; done >>out/SHA256SUMS)
node scripts/manifests.js "$build" "$work/out/$name.zip" "$work/out" "${exes[@]}"

mkdir -p "$out"
mv "$work/out"/* "$out/"
echo "$out/$name.zip ($(stat -c %s "$out/$name.zip") bytes)"
cat "$out/SHA256SUMS"
(cd "$out" && ls winget/* scoop/*)
