#!/bin/bash
# Runs the installer tests: makes the older package they upgrade from, or
# finds it made by an earlier run, then starts the test program under Wine.
#   RunInstallerTests.sh CMAKE PACKAGE_SOURCE PREVIOUS_BUILD WINE_RUN TEST_PROGRAM [-DNAME=VALUE...]
# The -D values configure the older package's build.
set -uo pipefail
cmake=$1 source=$2 previous=$3 wine_run=$4 program=$5
shift 5

if ! output=$("$cmake" -S "$source" -B "$previous" -G Ninja "$@" 2>&1 &&
              "$cmake" --build "$previous" --target installer 2>&1); then
  echo "$output"
  echo "The older package could not be made."
  exit 1
fi
# Wine would copy the package's Start menu shortcut into this machine's own
# desktop menus.
export WINEDLLOVERRIDES="winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
exec "$wine_run" "$program" --gtest_color=no
