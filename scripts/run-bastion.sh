#!/bin/bash
# Sets everything up and starts Bastion.exe under Wine: installs what is
# missing (as root), builds the programs with everything that lies beside
# them (the starter definitions, Localization.txt, Help.chm), starts the
# program (on a virtual display when there is no display), waits until one
# of its windows shows, saves a screenshot of the screen and prints its path
# and the titles of the program's windows. With a real display the program
# stays open; on a virtual display it is closed after the screenshot.
#   scripts/run-bastion.sh [seconds to wait for a window, default 180]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
wait_seconds=${1:-180}

if [ "$(id -u)" = 0 ]; then
  scripts/install-dependencies.sh
fi
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target product

build="$root/build/win64"
runner="$build/wine-run.sh"
exe="$build/src/main/Bastion.exe"
shots="$build/screenshots"
mkdir -p "$shots"

xvfb_pid=""
program_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    # The prefix is whole by now (the runner makes it before it starts the
    # program), so ending Wine cannot leave it half-made.
    "$runner" --stop-server >/dev/null 2>&1 || true
    kill "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      xvfb_pid=$!
      export DISPLAY=":$n"
      for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      break
    fi
  done
fi

# The visible windows of Bastion.exe's processes (Wine marks each window
# with the process that made it).
program_windows() {
  local pid
  for pid in $(pgrep -f 'Bastion\.exe' || true); do
    grep -qa 'wine-run.sh' "/proc/$pid/cmdline" 2>/dev/null && continue
    xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true
  done
}

echo "Starting Bastion.exe (a new Wine prefix takes a minute or two to be made)"
"$runner" "$exe" &
program_pid=$!

seen=""
for _ in $(seq 1 $((wait_seconds * 2))); do
  seen=$(program_windows)
  [ -n "$seen" ] && break
  if ! kill -0 "$program_pid" 2>/dev/null; then
    echo "Bastion.exe ended before showing a window" >&2
    exit 1
  fi
  sleep 0.5
done
if [ -z "$seen" ]; then
  echo "No window of Bastion.exe showed within $wait_seconds seconds" >&2
  exit 1
fi
# Let the window that showed paint (and the splash give way).
sleep 3
seen=$(program_windows)

shot="$shots/bastion-$(date +%Y%m%d-%H%M%S).png"
import -window root "$shot"
echo "Screenshot: $shot"
echo "Windows of Bastion.exe on the screen:"
for window in $seen; do
  echo "  \"$(xdotool getwindowname "$window" 2>/dev/null)\""
done

if [ -z "$xvfb_pid" ]; then
  echo "Bastion.exe is running on $DISPLAY; close its window to end it."
  wait "$program_pid" || true
fi
