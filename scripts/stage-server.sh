#!/usr/bin/env bash
# Lays out an application server in DIR as a real one holds the four VEK
# editions: in each edition folder the 32/64-bit launcher VEKBIN.BAT, the
# 16-bit launcher named after the edition (VEKPRO.BAT, ...), the tools, the
# icon RUVO.ICO, IMATGES with the tools' icons, and the binaries folders BIN
# and BIN16. The files are placeholders: a launcher only says what it would
# start. Link DIR into a Wine prefix as a drive (dosdevices/f:) to use it.
# Rewrites what it lays out and leaves anything else in DIR alone.
# Usage: stage-server.sh DIR
set -euo pipefail
server=${1:?usage: stage-server.sh DIR}
icon="$(cd "$(dirname "$0")/.." && pwd)/app/zoriza.ico"

crlf() { printf '%s\r\n' "$@"; }

launcher() {  # launcher FILE EDITION PLATFORMS
  crlf '@echo off' "echo $2 on the ZORIZA demo server: the $3 launcher would start the application here %*" > "$1"
}

placeholder() {  # placeholder FILE
  case "$1" in
    *.HTA) crlf '<html><body>ZORIZA demo server placeholder</body></html>' > "$1" ;;
    *.ICO) cp "$icon" "$1" ;;
    *) crlf 'ZORIZA demo server placeholder' > "$1" ;;
  esac
}

for edition in VekPro VekFin VekCom VekNom; do
  folder="$server/$edition"
  mkdir -p "$folder/IMATGES" "$folder/BIN" "$folder/BIN16"
  launcher "$folder/VEKBIN.BAT" "$edition" "32/64-bit"
  launcher "$folder/${edition^^}.BAT" "$edition" "16-bit"
  for file in VEKCALC.EXE VEKCAL.HTA VEKLOCK.HTA VEKDOCS.EXE VEKUPDAT.HTA RUVO.ICO \
              BIN/ZEMBRADO.EXE BIN16/ZEMBRADO.EXE; do
    placeholder "$folder/$file"
  done
  for icon_name in RUVO VEKCALC VEKCAL VEKLOCK VEKDOCS ZEMBRADO VEKUPDAT; do
    placeholder "$folder/IMATGES/$icon_name.ICO"
  done
done
