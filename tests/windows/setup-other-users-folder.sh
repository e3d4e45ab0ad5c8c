#!/usr/bin/env bash
# A folder at the root of the prefix's C: that another account made: Wine
# shows a file that another Unix user owns as owned by ANONYMOUS LOGON
# (S-1-5-7), and the files of the user running Wine as that Windows user's.
set -euo pipefail
folder="$1/drive_c/zoriza-other-user"
mkdir -p "$folder"
chown nobody "$folder"
