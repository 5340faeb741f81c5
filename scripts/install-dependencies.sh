#!/bin/bash
# Installs, with apt-get, what building and testing Bastion needs and this
# machine lacks: the native and mingw-w64 compilers, CMake and Ninja, Wine,
# Xvfb and the X tools the window tests drive, GoogleTest and Google
# Benchmark, cpp-httplib, SQLite, PostgreSQL (its client library, and the
# server for the tests' private cluster) and OpenSSL (which signs with the
# vendor's key) for the definition server, uBlock Origin
# for the EasyPrivacy list the starter definitions take domains from, and
# clang with its runtime libraries for the fuzz targets, chmcmd
# (fp-utils) for the help file, wixl (msitools) for the Windows Installer
# package, GNU time for the peak-memory benchmark, and the German locale a
# window test starts the program under.
# Safe to run again; it installs only what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ gcc ccache
  g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64
  wine wine64
  xvfb xauth xdotool imagemagick x11-utils
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcpp-httplib-dev libsqlite3-dev libpq-dev postgresql libssl-dev pkg-config webext-ublock-origin-firefox
  clang-14 libclang-rt-14-dev
  python3 fp-utils wixl locales time
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Wine takes a program's user-interface language from its locale.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
