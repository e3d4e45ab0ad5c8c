#!/usr/bin/env bash
# The window in each of its four languages, for the documentation: runs ZORIZA
# on a virtual display in a fresh prefix per language and keeps the pictures
# in docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
for pair in ca_ES:catala gl_ES:galego oc_FR:aranes es_ES:castellano; do
  locale=${pair%%:*}
  name=${pair##*:}
  prefix=$(mktemp -d)
  rm -rf "$prefix"
  env -u DISPLAY LC_ALL="$locale.UTF-8" ZORIZA_RUN_PREFIX="$prefix" \
    ZORIZA_SCREENSHOT="$PWD/docs/screenshots/$name.png" scripts/run.sh | tail -1
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
done
