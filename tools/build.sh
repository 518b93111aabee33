#!/usr/bin/env bash
# Configures and builds everything at the width VELK_ARCH names (see
# wine-env.sh) into $VELK_BUILD_DIR (default build/ for x86, build-x64/ for x64).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
# Configuring every time is cheap and picks up folders that gained a
# CMakeLists.txt since the last build.
cmake -S "$VELK_ROOT" -B "$VELK_BUILD_DIR" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$VELK_TOOLCHAIN" >/dev/null
cmake --build "$VELK_BUILD_DIR" "$@"
