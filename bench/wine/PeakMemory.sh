#!/bin/bash
# Memory under Wine, measured from outside the process:
#  - the peak of a Folder Scan of an empty folder by the console scanner,
#    `bastion-scan folder C:\empty\ --no-report`, with 10 + 10 and with
#    100,001 + 100,001 file and directory definitions (with a threat type,
#    and without one, when a row is longer than its line), and with 10 + 10 and
#    100,000 content definitions (a few hundred threat names, or a name
#    each) (GNU time's %M);
#  - the peak of a Folder Scan of 100,000 and of 1,000,000 files, with one
#    listing thread and as many as the option gives;
#  - Bastion.exe in the notification area with the memory shield on and
#    100,001 executable definitions: its resident memory and the processor
#    time it takes while other programs start and end every few seconds
#    (each change of the running programs is a look of the shield).
#
#   bench/wine/PeakMemory.sh [BUILD_DIR] [SECONDS] [walk]    (build/win64, 30)
#     walk: only the Folder Scans of the large trees
#
# It writes definitions and settings into a Wine prefix of its own beside
# the build tree's (wineprefix-memory, made on the first run), so that the
# tests' prefix never starts the program in the notification area with a
# generated definition set.
set -euo pipefail

build=$(cd "${1:-build/win64}" && pwd)
seconds=${2:-30}
only=${3:-}
run="$build/wine-run.sh"
fixture="$build/bench/bench_wine_MemoryFixture.exe"
scanner="$build/src/main/bastion-scan.exe"
program="$build/src/main/Bastion.exe"
export BASTION_WINEPREFIX="${BASTION_MEMORY_WINEPREFIX:-$build/wineprefix-memory}"
prefix="$BASTION_WINEPREFIX"
for file in "$run" "$fixture" "$scanner" "$program"; do
  [ -e "$file" ] || { echo "PeakMemory.sh: $file is missing; build the win64 preset first" >&2; exit 1; }
done
command -v /usr/bin/time >/dev/null || { echo "PeakMemory.sh: GNU time (package time) is missing" >&2; exit 1; }

# One Wine server for the whole measurement, so that none of its start-up
# lands in a measured process; ended at the end unless it was kept before.
started_server=0
if [ ! -f "$prefix.server-kept" ]; then
  "$run" --start-server
  started_server=1
fi
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ "$started_server" = 1 ] && "$run" --stop-server || true
}
trap cleanup EXIT

mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }

scan_peak() {
  local lines=$1 out
  shift
  "$run" "$fixture" definitions "$lines" "$@" >/dev/null
  mkdir -p "$prefix/drive_c/empty"
  out=$(mktemp)
  /usr/bin/time -f %M -o "$out" "$run" "$scanner" folder 'C:\empty\' --no-report >/dev/null 2>&1 || true
  echo "bastion-scan folder C:\\empty\\ --no-report, $lines + $lines definitions $*: peak $(mib "$(tail -n 1 "$out")")"
  rm -f "$out"
}

if [ "$only" != walk ]; then
  scan_peak 10
  scan_peak 100001
  scan_peak 100001 --untyped
  scan_peak 10 --content 100000
  scan_peak 10 --content 100000 --distinct
fi

# The walk's own memory: a Folder Scan of a tree of 100,000 and of
# 1,000,000 files (20 a folder, 100 folders at the top), with its folders
# listed by one thread and as the program's option leaves it. The walk keeps
# the folders above the one it is in and a bounded number listed ahead, so
# its peak must not grow with the tree. The trees are made from the host
# (making a million files through Wine takes many minutes) and taken away
# afterwards unless BASTION_KEEP_WALK_TREES is set.
make_walk_tree() {
  local files=$1 root="$prefix/drive_c/walktree$1"
  [ -e "$root/complete.marker" ] && return 0
  rm -rf "$root"
  python3 - "$root" "$files" <<'PYTHON'
import os, sys
root, files = sys.argv[1], int(sys.argv[2])
per_folder, tops = 20, 100
folders = files // per_folder
for f in range(folders):
    folder = os.path.join(root, "Top%d" % (f % tops), "Folder%d" % (f // tops))
    os.makedirs(folder, exist_ok=True)
    for k in range(per_folder):
        open(os.path.join(folder, "document%d.dat" % k), "w").close()
open(os.path.join(root, "complete.marker"), "w").close()
PYTHON
}

walk_peak() {
  local files=$1 out counted
  shift
  make_walk_tree "$files"
  out=$(mktemp)
  counted=$(/usr/bin/time -f %M -o "$out" "$run" "$scanner" folder "C:\\walktree$files\\" --no-report "$@" 2>/dev/null |
    grep 'Files/Folders inspected' | tr -d '\r' || true)
  echo "bastion-scan folder C:\\walktree$files\\ --no-report $*: peak $(mib "$(tail -n 1 "$out")") ($counted)"
  rm -f "$out"
}

"$run" "$fixture" definitions 10 >/dev/null
for files in 100000 1000000; do
  walk_peak "$files" --threads 1
  walk_peak "$files"
done
[ -n "${BASTION_KEEP_WALK_TREES:-}" ] || rm -rf "$prefix/drive_c/walktree100000" "$prefix/drive_c/walktree1000000"
[ "$only" = walk ] && exit 0

# The process of the program: the descendant of the runner whose command
# line names it.
find_program() {
  local parent=$1 child
  for child in $(pgrep -P "$parent" || true); do
    if (tr '\0' ' ' < "/proc/$child/cmdline") 2>/dev/null | grep -q 'Bastion\.exe'; then
      echo "$child"
      return 0
    fi
    find_program "$child" && return 0
  done
  return 1
}

cpu_seconds() {
  awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$1/stat"
}

"$run" "$fixture" definitions 10 --exe 100001 --tray >/dev/null
"$run" "$program" >/dev/null 2>&1 &
runner=$!
for _ in $(seq 1 100); do
  program_pid=$(find_program "$runner" || true)
  [ -n "$program_pid" ] && break
  sleep 0.2
done
[ -n "$program_pid" ] || { echo "PeakMemory.sh: Bastion.exe did not start" >&2; exit 1; }
# Start-up done and the first look of the shield taken.
sleep 10
before=$(cpu_seconds "$program_pid")
end=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$end" ]; do
  "$run" "$fixture" linger 3000 >/dev/null 2>&1
done
after=$(cpu_seconds "$program_pid")
rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$program_pid/status")
hwm=$(awk '/^VmHWM/ { print $2 }' "/proc/$program_pid/status")
echo "Bastion.exe in the notification area, memory shield on, 100,001 executable definitions:"
echo "  resident $(mib "$rss"), peak $(mib "$hwm"); processor time over ${seconds} s of changing programs: ${before} s -> ${after} s"
kill "$program_pid"
wait "$runner" 2>/dev/null || true
program_pid=""
