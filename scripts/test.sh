#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: the host
# unit tests (also under the address and undefined-behaviour sanitizers, with
# short fuzzing runs), the Windows integration and end-to-end tests under
# Wine, the demo run.sh shows, and the check of the shipped 32-bit program
# file. A test that did not run (skipped, disabled, not built) fails the run
# like a test that failed: every test here is required.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1
status=0
failed=()
for preset in host sanitize win64 win32; do
  echo "== $preset =="
  cmake --preset "$preset" -DZORIZA_WARNINGS_AS_ERRORS=ON >/dev/null || { failed+=("$preset: configure"); continue; }
  cmake --build --preset "$preset" -j "$(nproc)" || { failed+=("$preset: build"); continue; }
  log="build/$preset/ctest-summary.log"
  ctest --preset "$preset" 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed+=("$preset: tests failed")
  # CTest counts a skipped test as passed and exits with 0.
  if not_run=$(sed -n '/^The following tests did not run:/,/^$/{/^\s*[0-9]/p}' "$log") && [ -n "$not_run" ]; then
    failed+=("$preset: tests did not run:"$'\n'"$not_run")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "== FAILED =="
  printf '%s\n' "${failed[@]}"
  status=1
else
  echo "== every test of every preset ran and passed =="
fi
exit $status
