#!/usr/bin/env bash
# Prefix setup for the end-to-end tests: server drives linked into the
# prefix. f: is an application server laid out as a real one (the same
# layout scripts/run.sh shows a newcomer), g: is an empty second server, d: is
# a drive whose target is gone and n: a drive that is not ready: every request
# fails. The tests need all four: a drive that cannot be made stops the setup
# with the reason. With ZORIZA_STALLING_DRIVES ("a b d e", say) those
# letters are drives whose server can stop answering instead.
set -euo pipefail
prefix=$1
drives="$prefix/drives"
root="$(cd "$(dirname "$0")/../.." && pwd)"
"$root/scripts/stage-server.sh" "$drives/f"
mkdir -p "$drives/g"
ln -sfn "$drives/f" "$prefix/dosdevices/f:"
ln -sfn "$drives/g" "$prefix/dosdevices/g:"
ln -sfn "$drives/gone" "$prefix/dosdevices/d:"

# The not-ready drive is a FUSE file system that answers every request with
# an I/O error. Built once per build tree; tests set up in parallel, so the
# program is built under a name of its own and moved into place.
eio="${ZORIZA_WINE_ROOT:?}/eio_fs"
if [ ! -x "$eio" ] || [ "$root/tests/tools/eio_fs.c" -nt "$eio" ]; then
  cc -O2 -Wall -Wextra -o "$eio.$$" "$root/tests/tools/eio_fs.c" ||
    { echo "setup-server-drives: cannot build tests/tools/eio_fs.c (the not-ready drive n:) with cc" >&2; exit 1; }
  mv -f "$eio.$$" "$eio"
fi
mkdir -p "$drives/n"
"$eio" "$drives/n" > "$drives/n.pid" ||
  { echo "setup-server-drives: cannot mount the not-ready drive n: (eio_fs needs root and /dev/fuse)" >&2; exit 1; }
ln -sfn "$drives/n" "$prefix/dosdevices/n:"

# Drives whose server stops answering when told to. Each answers (one empty
# folder, VekPro) until its control file, C:\stalling\<letter>.control in
# the prefix, says "stall"; then every request below its root waits until
# the file says "answer", the request's caller ends, or two minutes passed.
# The teardown ends them all.
for letter in ${ZORIZA_STALLING_DRIVES:-}; do
  mkdir -p "$drives/stalling-$letter" "$prefix/drive_c/stalling"
  "$eio" -s -a -t 120 -c "$prefix/drive_c/stalling/$letter.control" "$drives/stalling-$letter" \
    > "$drives/stalling-$letter.pid" ||
    { echo "setup-server-drives: cannot mount the stalling drive $letter: (eio_fs -s)" >&2; exit 1; }
  ln -sfn "$drives/stalling-$letter" "$prefix/dosdevices/$letter:"
done
