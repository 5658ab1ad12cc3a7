#!/usr/bin/env bash
# Gathers the two release exes into one folder (dist/ unless named) with SHA256SUMS over them.
# When SIGN_PFX (a PKCS#12 file) and SIGN_PASSWORD_FILE (a file holding its password) are set,
# both exes are Authenticode-signed first, time-stamped as well when SIGN_TIMESTAMP_URL names an
# RFC 3161 server. The password itself is never on a command line or in an environment.
# The exes must have been built: make release does both.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/dist}

rm -rf "$out"
mkdir -p "$out"
cp "$root/build/mingw32/TarnvikAnalyzer.exe" "$out/TarnvikAnalyzer-x86.exe"
cp "$root/build/mingw/TarnvikAnalyzer.exe" "$out/TarnvikAnalyzer-x64.exe"

if [ -n "${SIGN_PFX:-}" ]; then
    # A password in the environment reaches every program make starts: refuse it.
    [ -z "${SIGN_PASSWORD+set}" ] || { echo "SIGN_PASSWORD is not used: name a file in SIGN_PASSWORD_FILE" >&2; exit 1; }
    [ -r "${SIGN_PASSWORD_FILE:-}" ] || { echo "SIGN_PFX is set but SIGN_PASSWORD_FILE names no readable file" >&2; exit 1; }
    stamp=()
    [ -z "${SIGN_TIMESTAMP_URL:-}" ] || stamp=(-ts "$SIGN_TIMESTAMP_URL")
    for exe in "$out"/TarnvikAnalyzer-x86.exe "$out"/TarnvikAnalyzer-x64.exe; do
        # osslsigncode reads the password from the file: only its name is on the command line.
        osslsigncode sign -pkcs12 "$SIGN_PFX" -readpass "$SIGN_PASSWORD_FILE" \
            -h sha256 -n "Tarnvik Analyzér" "${stamp[@]}" -in "$exe" -out "$exe.signed" >/dev/null
        mv "$exe.signed" "$exe"
    done
fi

# The sums cover the files as shipped, so they are made after signing.
(cd "$out" && sha256sum TarnvikAnalyzer-x86.exe TarnvikAnalyzer-x64.exe >SHA256SUMS)
cat "$out/SHA256SUMS"
