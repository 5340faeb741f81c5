#!/bin/bash
# Hashing a file against a plain read of it, each from the disk: the file is
# dropped from the host's cache before every single read or hash (as a file
# the walk meets for the first time is read), and again from the cache.
#
#   bench/wine/ContentHashCold.sh [BUILD_DIR] [MIB] [ROUNDS]    (build/win64, 256, 5)
set -euo pipefail

build=$(cd "${1:-build/win64}" && pwd)
mib=${2:-256}
rounds=${3:-5}
run="$build/wine-run.sh"
timing="$build/bench/bench_wine_ContentHashTiming.exe"
prefix="${BASTION_WINEPREFIX:-$build/wineprefix}"
[ -e "$timing" ] || { echo "ContentHashCold.sh: $timing is missing; build the win64 preset first" >&2; exit 1; }

started_server=0
if [ ! -f "$prefix.server-kept" ]; then
  "$run" --start-server
  started_server=1
fi
host_file="$prefix/drive_c/bastion_hash_timing.bin"
cleanup() {
  rm -f "$host_file"
  [ "$started_server" = 1 ] && "$run" --stop-server || true
}
trap cleanup EXIT

"$run" "$timing" make 'C:\bastion_hash_timing.bin' "$mib"
sync
drop() { python3 -c 'import os,sys; fd=os.open(sys.argv[1], os.O_RDONLY); os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED); os.close(fd)' "$host_file"; }
reads=()
hashes=()
for _ in $(seq 1 "$rounds"); do
  drop
  reads+=("$("$run" "$timing" read 'C:\bastion_hash_timing.bin' | awk '{ print $2 }')")
  drop
  hashes+=("$("$run" "$timing" hash 'C:\bastion_hash_timing.bin' | awk '{ print $2 }')")
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
read_ms=$(median "${reads[@]}")
hash_ms=$(median "${hashes[@]}")
echo "$mib MiB from the disk, medians of $rounds rounds: plain read $read_ms ms, hash $hash_ms ms"
awk -v r="$read_ms" -v h="$hash_ms" -v m="$mib" 'BEGIN { printf "  read %.0f MiB/s, hash %.0f MiB/s, hash speed / read speed %.3f\n", m / r * 1000, m / h * 1000, r / h }'
"$run" "$timing" both 'C:\bastion_hash_timing.bin'
