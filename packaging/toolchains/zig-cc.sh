#!/bin/sh
# Runs `zig cc` or `zig c++` with Zig's caches (where it keeps the C++ runtime
# it builds for a target) in the build's toolchain folder, beside Zig itself.
#   zig-cc.sh <zig folder> cc|c++ <arguments...>
zig_dir=$1
shift
ZIG_GLOBAL_CACHE_DIR=${ZIG_GLOBAL_CACHE_DIR:-$zig_dir/../zig-cache}
ZIG_LOCAL_CACHE_DIR=$ZIG_GLOBAL_CACHE_DIR
export ZIG_GLOBAL_CACHE_DIR ZIG_LOCAL_CACHE_DIR
exec "$zig_dir/zig" "$@"
