#!/usr/bin/env bash
# Configures and builds everything into $VELK_BUILD_DIR (default build/).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
if [ ! -f "$VELK_BUILD_DIR/build.ninja" ]; then
  cmake -S "$VELK_ROOT" -B "$VELK_BUILD_DIR" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$VELK_ROOT/cmake/toolchain-i686-mingw.cmake" >/dev/null
fi
cmake --build "$VELK_BUILD_DIR" "$@"
