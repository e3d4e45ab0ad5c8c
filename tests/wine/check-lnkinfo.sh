#!/usr/bin/env bash
# Reads the shortcut the Windows tests left in DIR with lnkinfo (liblnk), a
# reader that shares no code with Wine, and checks the fields it reports;
# the AppUserModelID, which lnkinfo does not show, from the file's bytes.
# lnkinfo shows the show command and hotkey as 0 whatever the file holds, so
# the show command is read from the header instead (32 bits at offset 0x3C).
set -uo pipefail
dir=${1:?usage: check-lnkinfo.sh DIR}
link="$dir/Reordenar fitxers.lnk"
passed=0
failed=0

result() {  # result OK|FAIL description
  echo "$1: $2"
  if [ "$1" = OK ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

if [ -f "$link" ] && report=$(lnkinfo "$link" 2>&1); then
  result OK "lnkinfo reads $link"
else
  result FAIL "lnkinfo reads $link"
  report=
fi

# field NAME VALUE: lnkinfo prints "<tab>NAME<tabs>: VALUE".
field() {
  local value
  value=$(printf '%s\n' "$report" | sed -n "s/^[[:space:]]*$1[[:space:]]*: //p" | head -n 1)
  if [ "$value" = "$2" ]; then
    result OK "$1 is $2"
  else
    result FAIL "$1 is $2 (found '${value}')"
  fi
}

field 'Local path' 'F:\VekPro\VEKBIN.BAT'
field 'Working directory' 'F:\VekPro'
field 'Command line arguments' 'BIN/ZEMBRADO.EXE'
field 'Icon location' 'F:\VekPro\IMATGES\ZEMBRADO.ICO'
field 'Icon index' '0'

# The AppUserModelID, which lnkinfo does not show: one property store block
# holding it, read from the file's bytes.
app_id=$(python3 "$(dirname "$0")/lnk_app_id.py" "$link" 2>&1)
if [ "$app_id" = RuvoSoftware.VekPro.ReordenarFitxers ]; then
  result OK "one property store block with AppUserModelID $app_id"
else
  result FAIL "one property store block with AppUserModelID RuvoSoftware.VekPro.ReordenarFitxers (found '${app_id}')"
fi

show=$(od -A n -t u4 --endian=little -j 60 -N 4 "$link" 2>/dev/null | tr -d ' ')
if [ "$show" = 3 ]; then
  result OK "show command at 0x3C is 3 (maximised)"
else
  result FAIL "show command at 0x3C is 3 (found '${show}')"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
