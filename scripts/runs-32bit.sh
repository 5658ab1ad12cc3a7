#!/usr/bin/env bash
# Exits 0 when this machine executes 32-bit x86 programs, as 32-bit Wine needs; otherwise says
# why not. It really runs one, built here so that no 32-bit library needs to be installed: a
# 96-byte program whose only instructions end it with exit code 32.
set -uo pipefail

program=$(mktemp)
trap 'rm -f "$program"' EXIT
printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0'\
'\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08'\
'\x60\0\0\0\x60\0\0\0\x05\0\0\0\0\x10\0\0\xbb\x20\0\0\0\xb8\x01\0\0\0\xcd\x80' >"$program"
chmod +x "$program"
error=$("$program" 2>&1)
code=$?
[ $code -eq 32 ] && exit 0
echo "the kernel does not run 32-bit x86 programs (exit code $code${error:+: $error})"
exit 1
