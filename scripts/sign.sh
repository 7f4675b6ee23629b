#!/usr/bin/env bash
# Signs programs in place with Authenticode through osslsigncode (SHA-256, with page hashes),
# then verifies each signature against the certificate it was made with, and stops at the
# first fault, leaving that program unsigned.
#   SIGN_PFX=cert.pfx SIGN_PASSWORD_FILE=password.txt [SIGN_TIMESTAMP_URL=http://...] \
#     [SIGN_TIME=unix-time] scripts/sign.sh NAME URL EXE...
# NAME and URL are the description and link that Windows shows for a signed program (its UAC
# prompt among others). The password is the file's first line; each tool reads it from the
# file or a pipe, never from a command line that ps would show. An RFC 3161 timestamp is
# added only when SIGN_TIMESTAMP_URL is given: without one, a signature counts only while the
# certificate is valid, and its signing time is SIGN_TIME where given (make dist gives the
# commit's, so that one commit signs to the same bytes), the current time otherwise.
#   SIGN_PFX=... SIGN_PASSWORD_FILE=... scripts/sign.sh --verify EXE...
# only verifies, by the same rules, programs signed before (make dist's, from its zip).
set -euo pipefail
fail() {
  echo "sign: $1" >&2
  exit 1
}
usage="usage: SIGN_PFX=... SIGN_PASSWORD_FILE=... sign.sh NAME URL EXE... | sign.sh --verify EXE..."
if [ "${1:-}" = --verify ]; then
  verify_only=1
  shift
  [ $# -ge 1 ] || fail "$usage"
else
  verify_only=""
  [ $# -ge 3 ] || fail "$usage"
  name="$1" url="$2"
  shift 2
fi
pfx="${SIGN_PFX:-}" password="${SIGN_PASSWORD_FILE:-}"
if [ -z "$pfx" ] || [ ! -r "$pfx" ]; then fail "cannot read the certificate SIGN_PFX=\"$pfx\""; fi
[ -n "$password" ] || fail "SIGN_PFX needs SIGN_PASSWORD_FILE, a file that holds its password"
[ -r "$password" ] || fail "cannot read the password file SIGN_PASSWORD_FILE=\"$password\""
for tool in osslsigncode openssl; do
  command -v "$tool" >/dev/null || fail "$tool is missing: scripts/setup.sh signing installs it"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The certificates in the pfx, opened once with the password before anything is signed. With
# a line end removed as osslsigncode removes it (a file written on Windows ends in CR LF).
open_pfx() { tr -d '\r' <"$password" | openssl pkcs12 -in "$pfx" -passin stdin -nokeys "$@"; }
if ! open_pfx -clcerts -out "$work/signer.pem" 2>"$work/error"; then
  fail "cannot open $pfx with the password in $password (wrong password, or not a PKCS#12 file): $(grep -m1 . "$work/error")"
fi
# Verified against every certificate of the pfx (a self-signed one is its own CA) and the
# system's CAs (for a chain whose root the pfx lacks), and only as signed by the pfx's own
# certificate. Revocation lists are not fetched (osslsigncode 2.6 and later would): the build
# may be offline.
open_pfx -out "$work/ca.pem" 2>/dev/null
[ -f /etc/ssl/certs/ca-certificates.crt ] && cat /etc/ssl/certs/ca-certificates.crt >>"$work/ca.pem"
leaf=$(openssl x509 -in "$work/signer.pem" -outform DER | sha256sum | cut -c1-64)
subject=$(openssl x509 -in "$work/signer.pem" -noout -subject)
offline=()
[[ "$(osslsigncode -h 2>&1 || true)" == *-ignore-cdp* ]] && offline=(-ignore-cdp)
# Verifies FILE, named as NAME (FILE's own where not given); a fault ends the run here.
verify() {
  if ! osslsigncode verify -in "$1" -CAfile "$work/ca.pem" -require-leaf-hash "sha256:$leaf" \
    "${offline[@]}" >"$work/log" 2>&1; then
    cat "$work/log" >&2
    fail "the signature of $(basename "${2:-$1}") does not verify against $pfx"
  fi
}
if [ -n "$verify_only" ]; then
  for exe in "$@"; do
    verify "$exe"
    echo "verified: $(basename "$exe") ($subject)"
  done
  exit 0
fi

when=()
if [ -n "${SIGN_TIMESTAMP_URL:-}" ]; then
  when=(-ts "$SIGN_TIMESTAMP_URL")
elif [ -n "${SIGN_TIME:-}" ]; then
  [[ "$SIGN_TIME" =~ ^[0-9]+$ ]] || fail "SIGN_TIME=\"$SIGN_TIME\" is no unix time (seconds since 1970)"
  when=(-time "$SIGN_TIME")
fi

for exe in "$@"; do
  rm -f "$work/signed"
  if ! osslsigncode sign -pkcs12 "$pfx" -readpass "$password" -h sha256 -ph -n "$name" -i "$url" \
    "${when[@]}" -in "$exe" -out "$work/signed" >"$work/log" 2>&1; then
    cat "$work/log" >&2
    fail "osslsigncode could not sign $(basename "$exe")${SIGN_TIMESTAMP_URL:+ (or reach the timestamp server $SIGN_TIMESTAMP_URL)}"
  fi
  verify "$work/signed" "$exe"
  cp "$work/signed" "$exe"
  echo "signed and verified: $(basename "$exe") ($subject, $(stat -c %s "$exe") bytes${SIGN_TIMESTAMP_URL:+, timestamped})"
done
