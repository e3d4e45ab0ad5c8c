#!/usr/bin/env bash
# Prepares, once per build tree, the Wine prefix every test copies: headless,
# with real user folders (not links to $HOME) and the locales the tests name.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export ZORIZA_WINE_ROOT=${1:?usage: make-golden-prefix.sh WINE_ROOT LOCALE...}
shift
source "$here/wine-env.sh"
unset DISPLAY WAYLAND_DISPLAY
golden="$ZORIZA_WINE_ROOT/golden"
[ -f "$golden/.ready" ] && { echo "golden prefix ready: $golden"; exit 0; }

# The locales the tests run in, made before the tests start in parallel.
for name in "$@"; do
  ln -sfn /usr/lib/locale/C.utf8 "$LOCPATH/$name.UTF-8"
done

rm -rf "$golden"
export WINEPREFIX="$golden"
wineboot -i >/dev/null 2>&1
timeout 60 wineserver -w || wineserver -k
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null
timeout 60 wineserver -w || wineserver -k
find "$golden/drive_c/users" -type l | while read -r link; do rm "$link"; mkdir -p "$link"; done
touch "$golden/.ready"
echo "golden prefix made: $golden"
