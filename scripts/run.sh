#!/usr/bin/env bash
# Installs what is missing, builds ZORIZA and runs it under Wine against a
# demo application server: the four VEK editions laid out as a real server
# holds them (scripts/stage-server.sh), linked into the program's own Wine
# prefix as the network drive F:.
#
# With a display, ZORIZA opens for you: press EXAMINAR, then CREAR, and close
# the window; the shortcuts and settings it left are then printed.
# Without one, ZORIZA runs on a virtual display and the demo program
# (tools/demo) does the main job: EXAMINAR finds F:\VekPro, the window is
# photographed, CREAR writes the shortcuts; it prints the report, each
# shortcut read back from its file and the settings saved, then where the
# picture is.
#
# It runs the file that ships: the 32-bit ZORIZA.exe of the win32 preset, in a
# 64-bit prefix that runs 32-bit programs as a 64-bit Windows does.
#
# Everything stays in build/win32: the prefix (run-prefix) and its private
# HOME (run-prefix-home), the server (demo-server) and the picture
# (screenshots/zoriza.png). ZORIZA_RUN_PREFIX and ZORIZA_SCREENSHOT choose
# another prefix or picture.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target ZORIZA zoriza_demo -j "$(nproc)"

build="$PWD/build/win32"
program="$build/app/ZORIZA.exe"
demo="$build/tests/windows/zoriza_demo.exe"
server="$build/demo-server"
shot="${ZORIZA_SCREENSHOT:-$build/screenshots/zoriza.png}"

export WINEPREFIX="${ZORIZA_RUN_PREFIX:-$build/run-prefix}"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
# The Wine environment the tests use, in the user's own language.
export LC_ALL="${LC_ALL:-${LANG:-}}"
export ZORIZA_WINE_ROOT="$build" ZORIZA_WINE_HOME="${WINEPREFIX%/}-home"
source tests/wine/wine-env.sh

# The prefix: F: a network drive, and the user's folders real folders in the
# prefix (Wine links them to $HOME/Desktop and the like by default). A prefix
# made before this marker existed may lead out of the build tree: made anew.
marker="$WINEPREFIX/.zoriza-run-prefix"
if [ ! -f "$marker" ]; then
  echo "preparing a Wine prefix in $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # The 64-bit view, where Wine reads drive types: the plain `wine reg` of a
  # prefix that runs 32-bit programs is the 32-bit one.
  wine reg add 'HKLM\Software\Wine\Drives' /v f: /d network /f /reg:64 >/dev/null 2>&1
  timeout 60 wineserver -w || wineserver -k
  find "$WINEPREFIX/drive_c/users" -type l | while read -r link; do rm "$link"; mkdir -p "$link"; done
  touch "$marker"
fi
# Debian's Wine 8 looks for the fonts it ships at Z:\usr\share\wine\../fonts,
# a path it cannot open, so the caption buttons' symbol font (Marlett, from
# fonts-wine) would be missing and the buttons drawn as letters. The prefix's
# own Fonts folder, which Wine does read, links to them.
ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
scripts/stage-server.sh "$server"
ln -sfn "$server" "$WINEPREFIX/dosdevices/f:"
export ZORIZA_EXE="Z:$program"
echo "demo application server F: = $server (VekPro, VekFin, VekCom, VekNom)"

# Wine says on every start that it cannot read the volume of z: (this
# machine's root); that line is only noise here.
wine_quietly() { wine "$@" 2> >(grep -v 'FS volume label and serial are not available' >&2); }
# Without a window manager Wine would wait 2 s at every window's end.
managed() { wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$1" /f >/dev/null 2>&1; }

if [ -n "${DISPLAY:-}" ]; then
  managed Y
  echo "ZORIZA is open: choose an edition, press EXAMINAR, then CREAR; close it when done."
  wine_quietly "$program"
  wine_quietly "$demo" --show
  echo "the shortcuts are in $WINEPREFIX/drive_c/users/$(id -un)"
  exit 0
fi

# A virtual display on a free number, the demo, and the picture in between.
run="$build/run"
rm -rf "$run" && mkdir -p "$run" "$(dirname "$shot")"
Xvfb -displayfd 1 -nolisten tcp -screen 0 1024x768x24 > "$run/display" 2>/dev/null &
xvfb=$!
trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT
for _ in $(seq 1 50); do [ -s "$run/display" ] && break; sleep 0.1; done
[ -s "$run/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$run/display")"
managed N

wine_quietly "$demo" --pause-after-scan "Z:$run" &
demo_pid=$!
while [ ! -e "$run/scanned" ] && kill -0 "$demo_pid" 2>/dev/null; do sleep 0.1; done
pictured=
if [ -e "$run/scanned" ]; then
  sleep 0.5  # the lists' new selection painted
  window=$(xwininfo -root -tree | awk '/"ZORIZA/ {print $1; exit}')
  if [ -n "$window" ] && import -window "$window" "$shot"; then pictured=yes; fi
  touch "$run/continue"
fi
status=0
wait "$demo_pid" || status=$?
if [ -n "$pictured" ]; then
  echo "screenshot taken after the scan, the server folder selected: $shot"
else
  echo "no screenshot: the scan did not finish or the window was not found" >&2
  status=1
fi
exit $status
