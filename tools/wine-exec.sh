#!/usr/bin/env bash
# Runs one Windows program of the build under the project's Wine setup.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec "$(velk_find_wine)" "$@"
