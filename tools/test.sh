#!/usr/bin/env bash
# Builds everything and runs all tests under Wine (and Xvfb when there is no
# display). Arguments are passed to ctest, e.g. tools/test.sh -R foundation.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
"$here/deps.sh"
source "$here/wine-env.sh"
"$here/build.sh"

VELK_FORCE_XVFB=1 velk_start_xvfb
velk_prepare_prefix
wineserver -p
# Start Wine's own background processes now, detached from ctest's output
# pipes: otherwise ctest waits for them to close the pipes after each test.
velk_warm_wine
cleanup() { wineserver -k 2>/dev/null || true; velk_stop_xvfb; }
trap cleanup EXIT

# Test programs share one desktop, so they run one after another.
ctest --test-dir "$VELK_BUILD_DIR" --output-on-failure "$@"
