#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and builds and runs a host project against it.
set -euo pipefail
build_dir=$1
source_dir=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix/usr" >/dev/null
test -f "$prefix/usr/include/zenkora/Pelmath.h"
test -f "$prefix/usr/lib/cmake/Zenkora/ZenkoraConfig.cmake" || test -f "$prefix/usr/lib/x86_64-linux-gnu/cmake/Zenkora/ZenkoraConfig.cmake"
cmake -S "$source_dir/tests/install/consumer" -B "$prefix/consumer" -G Ninja \
  -DCMAKE_PREFIX_PATH="$prefix/usr" -DCMAKE_C_FLAGS="${ZK_CONSUMER_FLAGS:-}" >/dev/null
cmake --build "$prefix/consumer" >/dev/null
"$prefix/consumer/consumer"
