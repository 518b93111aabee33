#!/usr/bin/env bash
# Configures and builds everything into $VELK_BUILD_DIR (default build/).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
# Configuring every time is cheap and picks up folders that gained a
# CMakeLists.txt since the last build.
cmake -S "$VELK_ROOT" -B "$VELK_BUILD_DIR" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$VELK_ROOT/cmake/toolchain-i686-mingw.cmake" >/dev/null
cmake --build "$VELK_BUILD_DIR" "$@"
