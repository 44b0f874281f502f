#!/usr/bin/env bash
# The one test command: installs what is missing, builds the Windows program and its tests
# (run under Wine) and the platform-free code with sanitizers (run natively), and runs them all.
# Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

jobs=$(nproc)
. scripts/windows-arch.sh
build_win=${PELLORIN_WIN_BUILD:-$root/$windows_build_folder}
build_native=${PELLORIN_NATIVE_BUILD:-$root/build/native}

echo "== native build (sanitizers)"
cmake -S . -B "$build_native" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELLORIN_NATIVE=ON >/dev/null
cmake --build "$build_native" -j "$jobs"

echo "== Windows build ($PELLORIN_WINDOWS_ARCH, mingw-w64)"
cmake -S . -B "$build_win" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$windows_toolchain" >/dev/null
cmake --build "$build_win" -j "$jobs"

# The window tests need an X display; a private one is started when there is none.
. scripts/private-display.sh
cleanup() {
  PELLORIN_BUILD_DIR="$build_win" bash scripts/wine-stop.sh >/dev/null 2>&1 || true
  stop_private_display
}
trap cleanup EXIT
start_private_display

status=0
echo "== native tests"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir "$build_native" --output-on-failure -j "$jobs" || status=1
echo "== Windows tests under Wine"
ctest --test-dir "$build_win" --output-on-failure || status=1

echo "== pictures and demo game generators"
python3 -m unittest discover -s "$root/tools" -p 'test_*.py' || status=1
python3 -m unittest discover -s "$root/scripts" -p 'test_*.py' || status=1
echo "== demo script"
bash "$root/scripts/test_demo.sh" "$(find "$build_win/tools" -name ucc.exe | head -1)" || status=1

# The program as it ships is built for i686 whatever the tests run as (see windows-arch.sh).
echo "== the release archive"
bash "$root/scripts/test_release.sh" || status=1

echo "== fuzzing the cache index, package headers, package objects, .uz2 files and .zip archives"
bash "$root/scripts/fuzz.sh" || status=1
exit $status
