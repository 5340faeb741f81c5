#!/bin/bash
# A Wine prefix whose creation is interrupted leaves nothing that passes for
# a prefix, and the next run makes it whole.
#   InterruptedPrefixTest.sh WINE-RUN-SCRIPT SCRATCH-FOLDER
set -u
runner=$1
scratch=$2
prefix="$scratch/interrupted-prefix"
export BASTION_WINEPREFIX="$prefix"
# Made by wineboot, not copied from a template: the creation is what is tested.
unset BASTION_WINEPREFIX_TEMPLATE
fail() { echo "FAILED: $*"; WINEPREFIX="$prefix.creating" wineserver -k 2>/dev/null; exit 1; }
rm -rf "$prefix" "$prefix.creating" "$prefix.lock" "$prefix.display"
mkdir -p "$scratch"

# Interrupt the creation once wineboot is at work, as Ctrl+C or a closed
# terminal would: the runner's whole process group ends at once. The drive
# folder is the first thing wineboot makes; the registry files are written
# only when the server saves them, which may be at its very end.
setsid "$runner" cmd /c exit 0 >/dev/null 2>&1 &
runner_pid=$!
caught=no
for _ in $(seq 1 400); do
  [ -d "$prefix.creating/drive_c" ] && { caught=yes; break; }
  kill -0 "$runner_pid" 2>/dev/null || break
  sleep 0.05
done
[ $caught = yes ] || fail "the creation was never seen in progress"
kill -KILL -- "-$runner_pid" 2>/dev/null
wait "$runner_pid" 2>/dev/null
WINEPREFIX="$prefix.creating" wineserver -k 2>/dev/null

[ -e "$prefix" ] && fail "an interrupted creation left $prefix"

# The next run removes the remains and makes a whole prefix.
"$runner" cmd /c exit 0 >/dev/null 2>&1 || fail "the run after the interruption failed"
[ -f "$prefix/.bastion-ready" ] || fail "no ready prefix after the second run"
[ -e "$prefix.creating" ] && fail "the interrupted creation's folder is still there"
ls -d "$prefix"/drive_c/users/*/Documents >/dev/null 2>&1 || fail "the prefix has no Documents folder"
[ -d "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu" ] || fail "the prefix has no Start menu folder"

"$runner" --stop-server >/dev/null 2>&1
rm -rf "$prefix" "$prefix.lock"
echo "PASSED"
