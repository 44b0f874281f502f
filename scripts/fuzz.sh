#!/usr/bin/env bash
# Builds the fuzz targets (the cache index, package headers, package objects, .uz2 files, zip archives) with
# clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer, and runs each for a bounded
# time from its seed corpus. Fails on any finding. PELLORIN_FUZZ_SECONDS sets each target's time (default 60).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${PELLORIN_FUZZ_BUILD:-$root/build/fuzz}
seconds=${PELLORIN_FUZZ_SECONDS:-60}
mkdir -p "$out/findings"

flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I "$root/src" -I "$root/tests")
common=("$root/src/core/text_rules.cpp" "$root/src/core/exceptions.cpp")
archives=("$root"/src/core/{byte_streams,archive_error,zlib_streams,uz2,zip_archive}.cpp)
packages=("$root"/src/core/{package_header,package_reading,byte_streams}.cpp)
contents=("$root"/src/core/{package_objects,package_pictures,texture_decode,pictures,package_contents}.cpp)

# fuzz <target> <seed folder> <sources...>: builds tests/fuzz/<target>.cpp and runs it.
fuzz() {
  local target=$1 seeds=$2
  shift 2
  clang++ "${flags[@]}" "$root/tests/fuzz/$target.cpp" "$@" "${common[@]}" -lz -o "$out/$target"
  # New inputs go to the build folder's corpus; the repository's seeds are read only.
  mkdir -p "$out/$target.corpus"
  "$out/$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$out/findings/$target-" -print_final_stats=1 \
    "$out/$target.corpus" "$seeds" 2>"$out/$target.log" || {
    tail -40 "$out/$target.log"
    echo "fuzz: $target: a finding was saved in $out/findings" >&2
    exit 1
  }
  grep -E '^stat::number_of_executed_units|^Done' "$out/$target.log" || true
  echo "fuzz: $target: no findings in ${seconds}s"
}

fuzz index_fuzz "$root/tests/fuzz/corpus" "$root/src/core/index_lines.cpp"
fuzz package_fuzz "$root/tests/fuzz/package_corpus" "${packages[@]}"
fuzz package_contents_fuzz "$root/tests/fuzz/contents_corpus" "${packages[@]}" "${contents[@]}"
fuzz uz2_fuzz "$root/tests/fuzz/uz2_corpus" "${archives[@]}"
fuzz zip_fuzz "$root/tests/fuzz/zip_corpus" "${archives[@]}"
