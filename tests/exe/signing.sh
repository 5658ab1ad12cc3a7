#!/usr/bin/env bash
# The release step signs both exes: with a throw-away code-signing certificate each signature
# must verify against it and name the program, and SHA256SUMS must match the signed files.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=Throwaway \
    -addext extendedKeyUsage=codeSigning -keyout "$tmp/key.pem" -out "$tmp/ca.pem" 2>/dev/null
printf 'pw\n' >"$tmp/password"  # as an editor saves it, with its line end
openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$tmp/ca.pem" -passout "file:$tmp/password" -out "$tmp/sign.pfx"
SIGN_PFX=$tmp/sign.pfx SIGN_PASSWORD_FILE=$tmp/password "$(dirname "$0")/../../scripts/release.sh" "$tmp/dist" >/dev/null
for arch in x86 x64; do
    report=$(osslsigncode verify -CAfile "$tmp/ca.pem" -in "$tmp/dist/TarnvikAnalyzer-$arch.exe")
    grep -q 'Text description: Tarnvik Analyzér$' <<<"$report"
done
(cd "$tmp/dist" && sha256sum --check --quiet SHA256SUMS)
echo "signing: both exes signed and verified"
