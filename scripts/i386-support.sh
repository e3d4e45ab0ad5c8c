#!/usr/bin/env bash
# Whether this machine runs i386 code, which the shipped 32-bit ZORIZA.exe
# needs under Wine (Debian's wine32 is an i386 program). Kernels differ: some
# run i386 code themselves, some not at all. Where the kernel cannot, qemu-user
# from bookworm-backports, registered for i386 through binfmt_misc, runs it
# (bookworm's own qemu 7.2 cannot run wine32; its package registers no i386
# entry, since i386 is not foreign on amd64, so the registration is ours).
#
#   i386-support.sh probe    exit 0 when an i386 program runs here
#   i386-support.sh ensure   make it run (qemu-user where needed), say how in
#                            one line; exit 1 naming what is missing
set -uo pipefail

# A 96-byte i386 ELF program that exits with 42.
probe() {
  local program status
  program=$(mktemp "${TMPDIR:-/tmp}/i386-probe.XXXXXX") || return 1
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' > "$program"
  chmod +x "$program"
  "$program" 2>/dev/null
  status=$?
  rm -f "$program"
  [ "$status" -eq 42 ]
}

binfmt=/proc/sys/fs/binfmt_misc
qemu=/usr/libexec/qemu-binfmt/i386-binfmt-P

install_backports_qemu() {
  if ! apt-cache policy 2>/dev/null | grep -q 'bookworm-backports'; then
    printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm-backports' \
      'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' \
      > /etc/apt/sources.list.d/bookworm-backports.sources
  fi
  . "$(dirname "$0")/apt.sh"
  apt_update >/dev/null && apt_install -t bookworm-backports qemu-user-static >/dev/null
}

# The entry the package would make if i386 were foreign: the 'F' flag opens
# qemu now, so that chroots and prefixes without it run i386 code too.
register_qemu() {
  mountpoint -q "$binfmt" || mount -t binfmt_misc binfmt_misc "$binfmt" || return 1
  [ -e "$binfmt/qemu-i386" ] && echo -1 > "$binfmt/qemu-i386"
  printf '%s' ':qemu-i386:M::\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':POF' \
    > "$binfmt/register"
}

ensure() {
  if probe; then
    # A registration is the kernel's, seen wherever binfmt_misc is mounted.
    mountpoint -q "$binfmt" || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null
    if grep -q '^enabled' "$binfmt/qemu-i386" 2>/dev/null; then
      echo "i386 code: run by qemu-user through binfmt_misc"
    else
      echo "i386 code: run by this kernel"
    fi
    return 0
  fi
  echo "i386 code: this kernel cannot run it; registering qemu-user for i386 through binfmt_misc"
  if ! dpkg --compare-versions "$(dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null || echo 0)" ge 1:10; then
    install_backports_qemu || { echo "missing: qemu-user-static 10 (bookworm-backports) could not be installed" >&2; return 1; }
  fi
  register_qemu || { echo "missing: binfmt_misc (cannot mount or register at $binfmt)" >&2; return 1; }
  probe || { echo "missing: i386 code does not run even through $qemu" >&2; return 1; }
}

case "${1:-}" in
  probe) probe ;;
  ensure) ensure ;;
  *) echo "usage: i386-support.sh probe|ensure" >&2; exit 2 ;;
esac
