#!/usr/bin/env bash
# Runs a Windows program under Wine in the build folder's prefix (CTest's cross-compiling emulator).
# The build folder is found from the program's path unless PELLORIN_BUILD_DIR or WINEPREFIX is set.
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ] && [ -z "${PELLORIN_BUILD_DIR:-}" ]; then
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  export PELLORIN_BUILD_DIR="$dir"
fi
. "$(dirname "$0")/wine-env.sh"
exec wine "$@"
