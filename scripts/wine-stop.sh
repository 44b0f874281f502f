#!/usr/bin/env bash
# Stops the build folder's Wine server and every Wine process of its prefix.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
wineserver -k </dev/null >/dev/null 2>&1
wineserver -w </dev/null >/dev/null 2>&1 || true
echo "wine server down for $WINEPREFIX"
