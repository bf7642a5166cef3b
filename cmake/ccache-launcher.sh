#!/bin/sh
# Every compile goes through ccache (CMAKE_CXX_COMPILER_LAUNCHER, set when
# ccache is installed). Its cache lies in the user's cache folder unless
# CCACHE_DIR names another. Paths are hashed relative to the checkout, and
# not the build folder (which -g would hash), so a second build folder (or
# clone) finds what the first one cached. The
# precompiled headers need the sloppiness below, or no compile that uses one
# would ever be found in the cache.
: "${CCACHE_DIR:=${XDG_CACHE_HOME:-$HOME/.cache}/ccache}"
: "${CCACHE_BASEDIR:=${0%/cmake/*}}"
CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:+$CCACHE_SLOPPINESS,}pch_defines,time_macros,include_file_mtime,include_file_ctime"
: "${CCACHE_NOHASHDIR:=1}"
export CCACHE_DIR CCACHE_BASEDIR CCACHE_NOHASHDIR CCACHE_SLOPPINESS
exec ccache "$@"
