#!/usr/bin/env bash
# The benchmark command: builds the Windows program and the benchmark, runs it under Wine in a
# window on a private X display (or the current one), prints the table and writes it as CSV to
# build/bench/results.csv. `--quick` runs the small sizes only; `--only SECTION` one section (the table in bench/pn_bench.cpp).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
. scripts/wine-loader.sh
build=${PELLORIN_WIN_BUILD:-$root/$windows_build_folder}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$windows_toolchain" >/dev/null
cmake --build "$build" -j "$(nproc)" --target pn_bench
mkdir -p "$root/build/bench"

. scripts/private-display.sh
cleanup() {
  PELLORIN_BUILD_DIR="$build" bash scripts/wine-stop.sh >/dev/null 2>&1 || true
  stop_private_display
}
trap cleanup EXIT
start_private_display
PELLORIN_BUILD_DIR="$build" bash scripts/wine-start.sh >/dev/null
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(free -g | awk '/Mem:/{print $2}') GiB, $(wine --version), $PELLORIN_WINDOWS_ARCH build"
PELLORIN_BUILD_DIR="$build" scripts/wine-run.sh "$build/bench/pn_bench.exe" --csv 'Z:'"$root/build/bench/results.csv" "$@"
echo "written: build/bench/results.csv"
