#!/usr/bin/env bash
# Prefix setup: a display of 144 dots per inch (Wine reads LogPixels at start).
set -euo pipefail
WINEPREFIX=$1 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
WINEPREFIX=$1 wineserver -k 2>/dev/null || true
