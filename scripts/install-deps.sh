#!/usr/bin/env bash
# Installs, on Debian 12, what building and testing ZORIZA needs; does nothing
# when it is all there already.
set -euo pipefail
cd "$(dirname "$0")"
packages=(
  cmake make g++ gcc libgtest-dev python3      # the portable core and its tests (gcc: the test
                                               # drive that is not ready, tests/tools/eio_fs.c)
  clang libclang-rt-14-dev                     # sanitizers and libFuzzer
  g++-mingw-w64-i686 g++-mingw-w64-x86-64      # the Windows program, 32 and 64 bit
  mingw-w64-tools binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 wine32:i386 fonts-wine           # running it here (wine puts the commands on the PATH;
                                               # fonts-wine draws the caption buttons)
  xvfb x11-utils imagemagick                   # a virtual display, and screenshots
  e2fsprogs                                    # chattr: folders that refuse writes in the disk-fault tests
  liblnk-utils                                 # an independent reader of .lnk files
  osslsigncode openssl                         # Authenticode signing (scripts/sign.sh) and its test's certificate
)
. ./apt.sh

# The shipped file is 32-bit: Wine runs it with its i386 loader, as a 64-bit
# Windows runs it (WoW64). Only where i386 code runs: on a machine that cannot
# run it, Debian's wine would prefer the i386 loader and break the 64-bit runs.
"${apt_sudo[@]}" ./i386-support.sh ensure || exit 1
# The architecture comes before the one install of both of Wine's halves, so
# that apt chooses their versions together.
dpkg --print-foreign-architectures | grep -qx i386 || "${apt_sudo[@]}" dpkg --add-architecture i386

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
apt_update
apt_install "${missing[@]}"
