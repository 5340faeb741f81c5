#!/bin/sh
# Compiler launcher of every preset: the compile goes through ccache when the
# machine has it, and straight to the compiler when it does not. The cache's
# base folder is this checkout, so that paths inside it are hashed relative
# to it and two clones in different folders share their hits; the build
# folder is left out of the hash for the same reason.
if command -v ccache >/dev/null 2>&1; then
  CCACHE_BASEDIR="${0%/cmake/*}" CCACHE_NOHASHDIR=true exec ccache "$@"
fi
exec "$@"
