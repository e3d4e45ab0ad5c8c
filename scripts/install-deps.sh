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
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
