#!/usr/bin/env bash
# Runs a Windows program in a fresh copy of the golden prefix and removes the
# copy afterwards. ZORIZA_PREFIX_SETUP names a script run first with the new
# prefix as its argument (drives, registry values, server trees).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export ZORIZA_WINE_ROOT=${ZORIZA_WINE_ROOT:?set ZORIZA_WINE_ROOT}
source "$here/wine-env.sh"
unset DISPLAY WAYLAND_DISPLAY  # the tests run headless
golden="$ZORIZA_WINE_ROOT/${ZORIZA_GOLDEN:-golden}"
[ -f "$golden/.ready" ] || { echo "no golden prefix in $golden" >&2; exit 2; }

mkdir -p "$ZORIZA_WINE_ROOT/runs"
export WINEPREFIX=$(mktemp -d "$ZORIZA_WINE_ROOT/runs/prefix.XXXXXX")
cleanup() {
  wineserver -k 2>/dev/null
  [ -n "${ZORIZA_PREFIX_TEARDOWN:-}" ] && "$ZORIZA_PREFIX_TEARDOWN" "$WINEPREFIX"
  [ -n "${ZORIZA_KEEP_PREFIX:-}" ] || rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
cp -a "$golden/." "$WINEPREFIX/"
if [ -n "${ZORIZA_PREFIX_SETUP:-}" ]; then
  "$ZORIZA_PREFIX_SETUP" "$WINEPREFIX" || { echo "prefix setup failed" >&2; exit 2; }
fi
timeout "${ZORIZA_RUN_TIMEOUT:-600}" wine "$@"
