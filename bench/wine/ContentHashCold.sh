#!/bin/bash
# Hashing a file for the content definitions against what bounds its speed:
# a plain read of the file from the disk (dropped from the host's cache
# before every single read or hash, as a file the walk meets for the first
# time is read) and the same SHA-256 hashing bytes already in memory. A hash
# can go no faster than the slower of the two; the last line says how near
# it comes. Then all of it again from the system's cache.
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
memories=()
for _ in $(seq 1 "$rounds"); do memories+=("$("$run" "$timing" memory "$mib" | awk '{ print $2 }')"); done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# The fastest round is the one other work on the machine took least from.
fastest() { printf '%s\n' "$@" | sort -n | head -n 1; }
"$run" "$timing" cached 'C:\bastion_hash_timing.bin'
report() {
  awk -v what="$1" -v r="$2" -v m="$3" -v h="$4" -v s="$mib" 'BEGIN {
    printf "  %s: read %.0f MiB/s, memory hash %.0f MiB/s, cold hash %.0f MiB/s\n", what, s / r * 1000, s / m * 1000, s / h * 1000
  }'
}
echo "$mib MiB from the disk, $rounds rounds:"
report "fastest rounds" "$(fastest "${reads[@]}")" "$(fastest "${memories[@]}")" "$(fastest "${hashes[@]}")"
report "medians" "$(median "${reads[@]}")" "$(median "${memories[@]}")" "$(median "${hashes[@]}")"
awk -v r="$(fastest "${reads[@]}")" -v m="$(fastest "${memories[@]}")" -v h="$(fastest "${hashes[@]}")" 'BEGIN {
  printf "  fastest rounds: cold hash / slower of read and memory hash %.3f\n", (r > m ? r : m) / h
}'
awk -v r="$(median "${reads[@]}")" -v m="$(median "${memories[@]}")" -v h="$(median "${hashes[@]}")" 'BEGIN {
  printf "cold hash / slower of read and memory hash: %.3f\n", (r > m ? r : m) / h
}'
