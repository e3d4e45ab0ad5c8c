#!/usr/bin/env bash
# The window in each of its four languages, for the documentation: runs
# scripts/run.sh without a display in a fresh prefix per language (in the
# build tree) and keeps its picture, taken after the scan has chosen the demo
# server's F:\VekPro, in docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
prefixes="$PWD/build/win32/screenshot-prefixes"
# Wine takes the language from the locale's name; C.UTF-8's data behind each
# name keeps the shell from warning about a locale this machine lacks.
export LOCPATH="$PWD/build/win32/locales"
mkdir -p "$LOCPATH"
for pair in ca_ES:catala gl_ES:galego oc_FR:aranes es_ES:castellano; do
  locale=${pair%%:*}
  name=${pair##*:}
  prefix="$prefixes/$name"
  ln -sfn /usr/lib/locale/C.utf8 "$LOCPATH/$locale.UTF-8"
  rm -rf "$prefix" "$prefix-home"
  env -u DISPLAY LC_ALL="$locale.UTF-8" ZORIZA_RUN_PREFIX="$prefix" \
    ZORIZA_SCREENSHOT="$PWD/docs/screenshots/$name.png" scripts/run.sh | tail -1
  rm -rf "$prefix" "$prefix-home"
done
