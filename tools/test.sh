#!/usr/bin/env bash
# Builds everything and runs all tests under Wine (and Xvfb when there is no
# display). Arguments are passed to ctest, e.g. tools/test.sh -R foundation
# (-LE shuffled leaves out the shuffled runs).
#
# Every test program runs twice: in its written order and shuffled
# (<name>_shuffled). The shuffle's seed is printed; VELK_TEST_SEED=<seed>
# replays that order.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
"$here/deps.sh"
source "$here/wine-env.sh"
echo "$VELK_ARCH_REASON (build folder $VELK_BUILD_DIR)"
"$here/build.sh"

VELK_FORCE_XVFB=1 velk_start_xvfb
velk_prepare_prefix
wineserver -p
# Start Wine's own background processes now, detached from ctest's output
# pipes: otherwise ctest waits for them to close the pipes after each test.
velk_warm_wine
cleanup() { wineserver -k 2>/dev/null || true; velk_stop_xvfb; }
trap cleanup EXIT

# GoogleTest reads the seed of --gtest_shuffle from GTEST_RANDOM_SEED (1-99999).
seed="${VELK_TEST_SEED:-$(( (RANDOM * 32768 + RANDOM) % 99999 + 1 ))}"
export GTEST_RANDOM_SEED="$seed"
echo "Shuffled test runs use seed $seed (replay: VELK_TEST_SEED=$seed tools/test.sh)"

# Test programs share one desktop, so they run one after another.
rc=0
ctest --test-dir "$VELK_BUILD_DIR" --output-on-failure "$@" || rc=$?
if [ "$rc" -ne 0 ]; then
  echo "Shuffled test runs used seed $seed (replay: VELK_TEST_SEED=$seed tools/test.sh)"
fi
exit "$rc"
