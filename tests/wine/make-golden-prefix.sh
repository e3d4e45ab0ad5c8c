#!/usr/bin/env bash
# Prepares, once per build tree, the Wine prefix every test copies: headless,
# with real user folders (not links to $HOME) and the locales the tests name.
# ZORIZA_GOLDEN names it ("golden" unless said); ZORIZA_GOLDEN_ARCH=win32
# makes it a 32-bit Windows, else it is a 64-bit one that runs 32-bit
# programs too, as Windows does. Then it proves that Wine really runs
# ZORIZA_PROOF_EXE: without its i386 loader Wine ends a 32-bit program at once
# with exit code 0, so a usage error must exit with 1 before any test's exit
# code means anything.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export ZORIZA_WINE_ROOT=${1:?usage: make-golden-prefix.sh WINE_ROOT LOCALE...}
shift
source "$here/wine-env.sh"
unset DISPLAY WAYLAND_DISPLAY
golden="$ZORIZA_WINE_ROOT/${ZORIZA_GOLDEN:-golden}"
export WINEPREFIX="$golden"

make_prefix() {
  # The locales the tests run in, made before the tests start in parallel.
  for name in "$@"; do
    ln -sfn /usr/lib/locale/C.utf8 "$LOCPATH/$name.UTF-8"
  done
  rm -rf "$golden"
  WINEARCH=${ZORIZA_GOLDEN_ARCH:-win64} wineboot -i >/dev/null 2>&1
  timeout 120 wineserver -w || wineserver -k
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null
  timeout 60 wineserver -w || wineserver -k
  find "$golden/drive_c/users" -type l | while read -r link; do rm "$link"; mkdir -p "$link"; done
  touch "$golden/.ready"
  echo "golden prefix made: $golden (${ZORIZA_GOLDEN_ARCH:-win64})"
}

[ -f "$golden/.ready" ] && echo "golden prefix ready: $golden" || make_prefix "$@"

if [ -n "${ZORIZA_PROOF_EXE:-}" ]; then
  status=0
  wine "$ZORIZA_PROOF_EXE" /create /platform:48 >/dev/null 2>&1 || status=$?
  timeout 60 wineserver -w || wineserver -k
  if [ "$status" -ne 1 ]; then
    echo "Wine does not run $ZORIZA_PROOF_EXE: its usage error exited $status, not 1" \
         "(is wine32:i386 installed, and does scripts/i386-support.sh probe pass?)" >&2
    exit 1
  fi
  echo "Wine runs $(basename "$ZORIZA_PROOF_EXE"): its usage error exits 1"
fi
