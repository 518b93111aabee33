#!/usr/bin/env bash
# Builds and starts Velkboard under Wine with the given arguments;
# "tools/run.sh modelpicker ARGS" starts modelpicker instead. Without a
# display it starts Xvfb, saves a screenshot of the first window to
# build/screenshot.png and ends the program.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
"$here/deps.sh"
source "$here/wine-env.sh"
echo "$VELK_ARCH_REASON (build folder $VELK_BUILD_DIR)"
"$here/build.sh"

program="$VELK_BUILD_DIR/bin/Velkboard.exe"
if [ "${1:-}" = modelpicker ]; then
  program="$VELK_BUILD_DIR/bin/modelpicker.exe"
  shift
fi

headless=""
if [ -z "${DISPLAY:-}" ]; then headless=1; fi
velk_start_xvfb
velk_prepare_prefix
trap 'velk_stop_xvfb' EXIT

if [ -z "$headless" ]; then
  exec "$(velk_find_wine)" "$program" "$@"
fi

"$(velk_find_wine)" "$program" "$@" &
pid=$!
shot="$VELK_BUILD_DIR/screenshot.png"
rm -f "$shot"
if timeout 90 xdotool search --sync --onlyvisible --name '.+' >/dev/null 2>&1; then
  # Give the window a moment to paint before the picture is taken.
  sleep 3
  import -window root "$shot"
  echo "run: screenshot saved to $shot"
else
  echo "run: no window appeared" >&2
fi
wineserver -k 2>/dev/null || true
wait "$pid" 2>/dev/null || true
[ -f "$shot" ]
