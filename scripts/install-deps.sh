#!/usr/bin/env bash
# Installs, on Debian 12, what building and testing ZORIZA needs; does nothing
# when it is all there already.
set -euo pipefail
packages=(
  cmake make g++ gcc libgtest-dev python3      # the portable core and its tests (gcc: the test
                                               # drive that is not ready, tests/tools/eio_fs.c)
  clang libclang-rt-14-dev                     # sanitizers and libFuzzer
  g++-mingw-w64-i686 g++-mingw-w64-x86-64      # the Windows program, 32 and 64 bit
  mingw-w64-tools binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 fonts-wine                       # running it here (wine puts the commands on the PATH;
                                               # fonts-wine draws the caption buttons)
  xvfb x11-utils imagemagick                   # a virtual display, and screenshots
  e2fsprogs                                    # chattr: folders that refuse writes in the disk-fault tests
  liblnk-utils                                 # an independent reader of .lnk files
  osslsigncode openssl                         # Authenticode signing (scripts/sign.sh) and its test's certificate
)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
updated=
install() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  [ -n "$updated" ] || "${sudo_cmd[@]}" apt-get update -q
  updated=yes
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}
install "${packages[@]}"

# The shipped file is 32-bit: Wine runs it with its i386 loader, as a 64-bit
# Windows runs it (WoW64). Only where i386 code runs: on a machine that cannot
# run it, Debian's wine would prefer the i386 loader and break the 64-bit runs.
"${sudo_cmd[@]}" "$(dirname "$0")/i386-support.sh" ensure || exit 1
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  updated=
fi
install wine32:i386
