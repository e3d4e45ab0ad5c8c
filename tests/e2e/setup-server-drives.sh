#!/usr/bin/env bash
# Prefix setup for the end-to-end tests: server drives linked into the
# prefix. f: holds the edition folder VekPro with both launchers, g: is an
# empty second server, d: is a drive whose target is gone and n: (when this
# machine can mount it) a drive that is not ready: every request fails.
set -euo pipefail
prefix=$1
drives="$prefix/drives"
mkdir -p "$drives/f/VekPro/IMATGES" "$drives/g"
printf '@echo off\r\n' > "$drives/f/VekPro/VEKBIN.BAT"
printf '@echo off\r\n' > "$drives/f/VekPro/VEKPRO.BAT"
ln -sfn "$drives/f" "$prefix/dosdevices/f:"
ln -sfn "$drives/g" "$prefix/dosdevices/g:"
ln -sfn "$drives/gone" "$prefix/dosdevices/d:"

eio="${ZORIZA_WINE_ROOT:?}/eio_fs"
source_file="$(cd "$(dirname "$0")/.." && pwd)/tools/eio_fs.c"
[ -x "$eio" ] || cc -O2 -Wall -Wextra -o "$eio" "$source_file" 2>/dev/null || true
mkdir -p "$drives/n"
if [ -x "$eio" ] && "$eio" "$drives/n" > "$drives/n.pid" 2>/dev/null; then
  ln -sfn "$drives/n" "$prefix/dosdevices/n:"
fi
