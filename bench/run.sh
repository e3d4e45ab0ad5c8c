#!/usr/bin/env bash
# Measures the shipped i686 ZORIZA.exe and the x86_64 build, each against
# floor programs built with its own toolchain and flags, under Wine, and
# prints a table for each and one of the i686 file over the x86_64 one: size
# and imports, start-up, memory, the create command (in the window and
# unattended, the logon repair over shortcuts already right, and the
# compliance check over them) and the
# server scan on 1, 8 and 24 drives; on stalling servers the shipped file
# alone. Every timing is taken side by side with its floor
# and with the other build's, interleaved, in one fresh copy of the golden
# prefix (64-bit, running the 32-bit programs as 64-bit Windows does),
# headless.
#
#   bench/run.sh [--runs N] [--scan-runs N] [--stalled-runs N] [--warmup N]
#                [--keep-prefix] [--variant EXE]
#
#   --runs N       timed runs of each program for start-up, memory and the
#                  create commands (default 15)
#   --scan-runs N  timed runs of each program for each scan (default 30: a
#                  scan takes a few milliseconds, so it needs more of them)
#   --stalled-runs N  timed runs of each measure on stalling servers (default
#                  5: each waits the program's bound of 3 s)
#   --warmup N     rounds run first and left out of the figures (default 1)
#   --keep-prefix  keep the prefix (build/bench-wine/runs/bench.*) afterwards
#   --variant EXE  another build of ZORIZA.exe, i686 or x86_64, started in turn
#                  with the others for start-up, memory and the scans, and compared with
#                  the build of the same processor: to try a change side by
#                  side
#
# Builds go to build/bench/ (ZORIZA.exe from the win32 and win64 presets; the
# floors from bench/CMakeLists.txt with each preset's toolchain file, in
# tools-i686 and tools-x86_64, and the measuring driver, x86_64, in the
# latter); the raw samples are left in build/bench/results.txt.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)

runs=15
scan_runs=30
stalled_runs=5
warmup=1
keep=
variant=
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=${2:?}; shift 2 ;;
    --scan-runs) scan_runs=${2:?}; shift 2 ;;
    --stalled-runs) stalled_runs=${2:?}; shift 2 ;;
    --warmup) warmup=${2:?}; shift 2 ;;
    --keep-prefix) keep=1; shift ;;
    --variant) variant=$(realpath "${2:?}"); shift 2 ;;
    -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit 0 ;;
    *) echo "bench/run.sh: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
done
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "bench/run.sh: --runs needs a positive number" >&2; exit 2; }
[[ $scan_runs =~ ^[1-9][0-9]*$ ]] || { echo "bench/run.sh: --scan-runs needs a positive number" >&2; exit 2; }
[[ $stalled_runs =~ ^[1-9][0-9]*$ ]] || { echo "bench/run.sh: --stalled-runs needs a positive number" >&2; exit 2; }
[[ $warmup =~ ^[0-9]+$ ]] || { echo "bench/run.sh: --warmup needs a number" >&2; exit 2; }

started=$(date +%s)
load_before=$(cut -d' ' -f1 /proc/loadavg)
say() { printf '[%4ss] %s\n' "$(( $(date +%s) - started ))" "$*" >&2; }

"$root/scripts/install-deps.sh"
# How this machine runs i386 code (natively or through qemu-user) says what
# the i686 figures mean; install-deps.sh has already made it run.
i386_code=$("$root/scripts/i386-support.sh" ensure)

# The processor a ZORIZA.exe is built for, by the label its floors have here.
processor_of() {
  case $(x86_64-w64-mingw32-objdump -f "$1" | sed -n 's/.*file format //p') in
    pei-i386) echo i686 ;;
    pei-x86-64) echo x86_64 ;;
    *) echo "bench/run.sh: $1 is neither an i686 nor an x86_64 Windows program" >&2; return 1 ;;
  esac
}
variant_build=
[ -z "$variant" ] || variant_build=$(processor_of "$variant")

out="$root/build/bench"
mkdir -p "$out"
say "building ZORIZA.exe (i686 and x86_64), the floors of each and the driver (log: build/bench/build.log)"
if ! (
  cd "$root"
  cmake --preset win32 -B "$out/win32" -DZORIZA_TESTS=OFF
  cmake --build "$out/win32" --target ZORIZA -j2
  cmake --preset win64 -B "$out/win64" -DZORIZA_TESTS=OFF
  cmake --build "$out/win64" --target ZORIZA -j2
  # The floors of the shipped file: the win32 preset's toolchain and its
  # link-time optimisation. The driver only starts and times programs, and
  # one (x86_64) serves both builds.
  cmake -S "$here" -B "$out/tools-i686" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" \
        -DCMAKE_INTERPROCEDURAL_OPTIMIZATION=ON -DZORIZA_BENCH_DRIVER=OFF
  cmake --build "$out/tools-i686" -j2
  cmake -S "$here" -B "$out/tools-x86_64" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw64.cmake"
  cmake --build "$out/tools-x86_64" -j2
) > "$out/build.log" 2>&1; then
  tail -n 40 "$out/build.log" >&2
  exit 1
fi
zoriza32="$out/win32/app/ZORIZA.exe"
zoriza64="$out/win64/app/ZORIZA.exe"
tools32="$out/tools-i686"
tools64="$out/tools-x86_64"

export ZORIZA_WINE_ROOT="$root/build/bench-wine"
say "golden prefix in build/bench-wine/golden"
# It proves first that Wine runs the shipped file, which it would otherwise
# end at once, silently, without its i386 loader.
ZORIZA_PROOF_EXE=$zoriza32 "$root/tests/wine/make-golden-prefix.sh" "$ZORIZA_WINE_ROOT" >&2
source "$root/tests/wine/wine-env.sh"
unset DISPLAY WAYLAND_DISPLAY

mkdir -p "$ZORIZA_WINE_ROOT/runs"
prefix=$(mktemp -d "$ZORIZA_WINE_ROOT/runs/bench.XXXXXX")
export WINEPREFIX=$prefix
not_ready_mount="$prefix/drives/not-ready"
cleanup() {
  wineserver -k 2>/dev/null || true
  umount -l "$not_ready_mount" 2>/dev/null || true
  # Ending a stalling server fails every request still waiting on it.
  [ -f "$prefix/drives/stalling.pids" ] && xargs -r kill < "$prefix/drives/stalling.pids" 2>/dev/null || true
  if [ -n "$keep" ]; then echo "prefix kept: $prefix" >&2; else rm -rf "$prefix"; fi
}
trap cleanup EXIT
cp -a "$ZORIZA_WINE_ROOT/golden/." "$prefix/"
say "fresh prefix $prefix"

# A drive that is not ready: a FUSE mount on which every request fails
# (needs root and /dev/fuse; without it the scan runs without one).
eio="$ZORIZA_WINE_ROOT/eio_fs"
[ -x "$eio" ] && [ "$eio" -nt "$root/tests/tools/eio_fs.c" ] ||
  cc -O2 -Wall -Wextra -o "$eio" "$root/tests/tools/eio_fs.c" 2>/dev/null || true
mkdir -p "$not_ready_mount"
have_not_ready=
if [ -x "$eio" ] && "$eio" "$not_ready_mount" > /dev/null 2>&1; then have_not_ready=1; fi

# link_drives SET LAUNCHER NOT_READY LETTER...: the prefix's drives besides
# c: and z: become LETTER..., each an empty server folder of its own, except
# NOT_READY (the failing mount, when there is one) and LAUNCHER, whose VekPro
# folder holds both launchers. The server is ended first: the drive list is
# read when it starts.
link_drives() {
  local set=$1 launcher=$2 not_ready=$3 letter target
  shift 3
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  find "$prefix/dosdevices" -maxdepth 1 -name '?:' ! -name 'c:' ! -name 'z:' -exec rm -f {} +
  for letter in "$@"; do
    target="$prefix/drives/$set/$letter"
    if [ "$letter" = "$not_ready" ] && [ -n "$have_not_ready" ]; then
      target=$not_ready_mount
    else
      mkdir -p "$target"
    fi
    ln -sfn "$target" "$prefix/dosdevices/$letter:"
  done
  mkdir -p "$prefix/drives/$set/$launcher/VekPro/IMATGES"
  printf '@echo off\r\n' > "$prefix/drives/$set/$launcher/VekPro/VEKBIN.BAT"
  printf '@echo off\r\n' > "$prefix/drives/$set/$launcher/VekPro/VEKPRO.BAT"
}

# link_stalling_drives LETTER...: f: holds the launcher, and each LETTER is
# served by a stalling server (eio_fs -s) that answers until its control
# file, C:\stalling\<letter>.control, says "stall".
link_stalling_drives() {
  local letter mount
  link_drives stalling f - f
  mkdir -p "$prefix/drive_c/stalling"
  for letter in "$@"; do
    mount="$prefix/drives/stalling/$letter-server"
    mkdir -p "$mount"
    "$eio" -s -a -t 120 -c "$prefix/drive_c/stalling/$letter.control" "$mount" >> "$prefix/drives/stalling.pids" ||
      { echo "bench/run.sh: cannot mount the stalling drive $letter: (eio_fs -s needs root and /dev/fuse)" >&2; exit 1; }
    ln -sfn "$mount" "$prefix/dosdevices/$letter:"
  done
}

results="$out/results.txt"
: > "$results"
: > "$out/wine.log"
# The shipped file first: the driver runs the stalled measures on it alone.
bench() {
  wine "$tools64/zoriza_bench.exe" "$@" --warmup "$warmup" \
    --build i686 "Z:$zoriza32" "Z:$tools32" --build x86_64 "Z:$zoriza64" "Z:$tools64" \
    2>> "$out/wine.log" | tr -d '\r' >> "$results" || {
    echo "bench/run.sh: the measuring driver failed; the end of build/bench/wine.log:" >&2
    tail -n 15 "$out/wine.log" >&2
    exit 1
  }
}

# 24 mapped drives need a: and b: as well: d: to y: are 22 letters.
letters24=(a b d e f g h i j k l m n o p q r s t u v w x y)

say "start-up, memory, the create command and the unattended create ($runs runs each)"
link_drives one f - f
variant_switches=(${variant:+--variant "Z:$variant" --variant-build "$variant_build"})
bench startup create unattended repair check --runs "$runs" "${variant_switches[@]}"
say "scan with 1 mapped drive ($scan_runs runs each)"
bench scan --runs "$scan_runs" --drives 1 --launcher f "${variant_switches[@]}"
say "scan with 8 mapped drives"
link_drives eight k d d e f g h i j k
bench scan --runs "$scan_runs" --drives 8 --launcher k --not-ready d "${variant_switches[@]}"
say "scan with 24 mapped drives"
link_drives all y d "${letters24[@]}"
bench scan --runs "$scan_runs" --drives 24 --launcher y --not-ready d "${variant_switches[@]}"
say "servers that stop answering, the shipped file: the scan with 0, 1 and 4 stalled, start-up with the saved folder on one ($stalled_runs runs each)"
link_stalling_drives a b d e
bench stalled --runs "$stalled_runs"
wineserver -k 2>/dev/null || true

imports() { "$1" -p "$2" | awk '/DLL Name/ { print $3 }' | paste -sd ' ' -; }
{
  echo "info runs $runs"
  echo "info scan_runs $scan_runs"
  echo "info stalled_runs $stalled_runs"
  echo "info warmup $warmup"
  echo "info not_ready_mount $([ -n "$have_not_ready" ] && echo yes || echo no)"
  echo "info shipped_path ${zoriza32#"$root/"}"
  echo "info shipped_bytes $(stat -c %s "$zoriza32")"
  echo "info shipped_imports $(imports i686-w64-mingw32-objdump "$zoriza32")"
  echo "info x86_64_bytes $(stat -c %s "$zoriza64")"
  echo "info x86_64_path ${zoriza64#"$root/"}"
  echo "info x86_64_imports $(imports x86_64-w64-mingw32-objdump "$zoriza64")"
  echo "info floor_window_imports_i686 $(imports i686-w64-mingw32-objdump "$tools32/floor_window.exe")"
  echo "info floor_window_imports_x86_64 $(imports x86_64-w64-mingw32-objdump "$tools64/floor_window.exe")"
  [ -z "$variant" ] || echo "info variant $variant ($variant_build)"
  echo "info i386_code ${i386_code#"i386 code: "}"
  echo "info wine $(wine --version)"
  echo "info cpu $(nproc) x $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
  echo "info seconds $(( $(date +%s) - started ))"
  echo "info load_before $load_before"
  echo "info load_after $(cut -d' ' -f1 /proc/loadavg)"
} >> "$results"
say "done; raw samples in ${results#"$root/"}"
python3 "$here/summarise.py" "$results"
