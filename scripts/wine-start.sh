#!/usr/bin/env bash
# Starts one persistent Wine server for the build folder's prefix and warms it, so that each test
# process starts quickly. Wine's services inherit /dev/null rather than the test runner's pipes,
# so lingering services cannot hold CTest's output open.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1 || true
fi
# wineserver puts itself in the background once it listens; waiting for that keeps the first
# Wine process from starting a short-lived server of its own, which would later quit under a test.
setsid wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1
# Windows open inside a Wine virtual desktop: under a bare X server every destroyed top-level
# window would stall Wine for about two seconds.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f </dev/null >/dev/null 2>&1
echo "wine server up for $WINEPREFIX"
