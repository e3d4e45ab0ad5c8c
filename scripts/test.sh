#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: the host
# unit tests (also under the address and undefined-behaviour sanitizers, with
# short fuzzing runs), the Windows integration and end-to-end tests under
# Wine, and the check of the shipped 32-bit program file.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1
status=0
for preset in host sanitize win64 win32; do
  echo "== $preset =="
  cmake --preset "$preset" -DZORIZA_WARNINGS_AS_ERRORS=ON >/dev/null || { status=1; continue; }
  cmake --build --preset "$preset" -j "$(nproc)" || { status=1; continue; }
  ctest --preset "$preset" || status=1
done
exit $status
