#!/usr/bin/env bash
# Installs what the build and the tests need, once; a second call finds everything and returns at once.
set -euo pipefail

# command name -> Debian package that provides it
declare -A needed=(
    [cmake]=cmake
    [g++]=g++
    [x86_64-w64-mingw32-g++-posix]=g++-mingw-w64-x86-64-posix
    [x86_64-w64-mingw32-gcc-posix]=gcc-mingw-w64-x86-64-posix
    [x86_64-w64-mingw32-windres]=binutils-mingw-w64-x86-64
    [i686-w64-mingw32-g++-win32]=g++-mingw-w64-i686-win32
    [i686-w64-mingw32-gcc-win32]=gcc-mingw-w64-i686-win32
    [i686-w64-mingw32-windres]=binutils-mingw-w64-i686
    [wine]=wine64
    [xvfb-run]=xvfb
    [xauth]=xauth
    [xdpyinfo]=x11-utils
    [import]=imagemagick
    [python3]=python3
    [openssl]=openssl
    [osslsigncode]=osslsigncode
    [iconv]=libc-bin
    [clang-format]=clang-format
    [black]=black
)
missing=()
for cmd in "${!needed[@]}"; do
    command -v "$cmd" >/dev/null 2>&1 || missing+=("${needed[$cmd]}")
done
# Header-only check: GoogleTest for the native unit tests.
[ -f /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
# ImageMagick's 'import' may be shadowed by a stand-in; the real one lives in /usr/bin.
[ -x /usr/bin/import ] || missing+=(imagemagick)
# 32-bit Wine for the 32-bit exe's tests, where this machine runs 32-bit programs at all.
i386=
if [ ! -x /usr/lib/wine/wine ] && "$(dirname "$0")/runs-32bit.sh" >/dev/null; then
    dpkg --print-foreign-architectures | grep -qx i386 || i386=add
    missing+=(wine32:i386)
fi
# make fuzz only: clang with libFuzzer and the sanitizer runtimes.
if [ "${1:-}" = fuzz ]; then
    command -v clang++-14 >/dev/null 2>&1 || missing+=(clang-14)
    compgen -G '/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null ||
        missing+=(libclang-rt-14-dev)
fi

[ ${#missing[@]} -eq 0 ] && exit 0

mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
[ -z "$i386" ] || "${as_root[@]}" dpkg --add-architecture i386
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
