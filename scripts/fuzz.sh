#!/usr/bin/env bash
# Builds the cache index fuzz target with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs it for a bounded time from the seed corpus.
# Fails on any finding. PELLORIN_FUZZ_SECONDS sets the time (default 60).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${PELLORIN_FUZZ_BUILD:-$root/build/fuzz}
seconds=${PELLORIN_FUZZ_SECONDS:-60}
mkdir -p "$out/corpus" "$out/findings"

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I "$root/src" \
  "$root/tests/fuzz/index_fuzz.cpp" \
  "$root/src/catalogue/index_lines.cpp" "$root/src/catalogue/text_rules.cpp" \
  "$root/src/framework/exceptions.cpp" \
  -o "$out/index_fuzz"

# New inputs go to the build folder's corpus; the repository's seeds are read only.
"$out/index_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$out/findings/" -print_final_stats=1 \
  "$out/corpus" "$root/tests/fuzz/corpus" 2>"$out/fuzz.log" || {
  tail -40 "$out/fuzz.log"
  echo "fuzz: a finding was saved in $out/findings" >&2
  exit 1
}
grep -E '^stat::number_of_executed_units|^Done' "$out/fuzz.log" || true
echo "fuzz: no findings in ${seconds}s"
