#!/bin/bash
# Sets everything up and starts Bastion.exe under Wine: installs what is
# missing, builds the Windows programs, starts the program (on a virtual
# display when there is no display), saves a screenshot of the screen and
# prints its path. With a real display the program stays open; on a virtual
# display it is closed after the screenshot.
#   scripts/run-bastion.sh [seconds to wait before the screenshot, default 6]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
wait_seconds=${1:-6}

if [ "$(id -u)" = 0 ]; then
  scripts/install-dependencies.sh
fi
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Bastion bastion-scan

build="$root/build/win64"
runner="$build/wine-run.sh"
exe="$build/src/main/Bastion.exe"
shots="$build/screenshots"
mkdir -p "$shots"

xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
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
      break
    fi
  done
  sleep 1
fi

"$runner" "$exe" &
program_pid=$!
sleep "$wait_seconds"

shot="$shots/bastion-$(date +%Y%m%d-%H%M%S).png"
import -window root "$shot"
echo "Screenshot: $shot"

if [ -n "$xvfb_pid" ]; then
  kill "$program_pid" 2>/dev/null || true
else
  echo "Bastion.exe is running on $DISPLAY; close its window to end it."
  wait "$program_pid" || true
fi
