#!/bin/sh
# Every compile goes through ccache (CMAKE_CXX_COMPILER_LAUNCHER, set when
# ccache is installed). Its cache lies in the user's cache folder unless
# CCACHE_DIR names another. Paths are hashed relative to the checkout, and
# not the build folder (which -g would hash), so a second build folder (or
# clone) finds what the first one cached. The
# precompiled headers need the sloppiness below, or no compile that uses one
# would ever be found in the cache. Every file a compile includes is hashed
# once per build, not once per compile (the inode cache: the precompiled
# header alone is over 100 MB), and a miss takes the compiler's own list of
# headers (depend mode) instead of preprocessing the file a second time.
: "${CCACHE_DIR:=${XDG_CACHE_HOME:-$HOME/.cache}/ccache}"
: "${CCACHE_BASEDIR:=${0%/cmake/*}}"
CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:+$CCACHE_SLOPPINESS,}pch_defines,time_macros,include_file_mtime,include_file_ctime"
: "${CCACHE_NOHASHDIR:=1}"
: "${CCACHE_INODECACHE:=1}"
: "${CCACHE_DEPEND:=1}"
export CCACHE_DIR CCACHE_BASEDIR CCACHE_NOHASHDIR CCACHE_SLOPPINESS CCACHE_INODECACHE CCACHE_DEPEND
exec ccache "$@"
