#!/usr/bin/env bash
# Unmounts the drive that is not ready, if the setup mounted one, ends the
# servers of the stalling drives (which fails every request still waiting on
# them), and unlocks what the disk-fault tests lock.
prefix=$1
umount -l "$prefix/drives/n" 2>/dev/null
for pidfile in "$prefix"/drives/stalling-*.pid; do
  [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
done
# Folders a test locked against writing, should it have ended before unlocking them.
chattr -R -i "$prefix/drive_c/users" 2>/dev/null
exit 0
