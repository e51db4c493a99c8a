#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for a while.
#   fuzz/run.sh [seconds per target, default 600] [target ...]
# The seed corpus is made from the project's own samples, test data and help files;
# inputs are capped at 64 KB. Findings land in build-fuzz/findings/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
command -v clang++ >/dev/null || { echo "fuzz/run.sh needs clang (apt-get install clang libclang-rt-14-dev)"; exit 2; }
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDALVINO_FUZZ=ON -DDALVINO_TESTS=OFF >/dev/null
cmake --build build-fuzz --parallel "$(nproc)" >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for t in build-fuzz/fuzz/fuzz_*; do [ -f "$t" ] && [ -x "$t" ] && targets+=("$(basename "$t")"); done
fi
seeds=build-fuzz/seeds
rm -rf "$seeds" && mkdir -p "$seeds"
find samples data tests -type f \( -name '*.xml' -o -name '*.csv' -o -name '*.leg' -o -name '*.dat' -o -name '*.ini' -o -name '*.txt' \) \
  -size -64k -exec cp {} "$seeds/" \; 2>/dev/null || true
printf '[Setting]\r\nWindowState=wsNormal\r\nTop=115\r\nDeviceType=1\r\n' > "$seeds/settings.ini"
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t findings=build-fuzz/findings/$t
  mkdir -p "$corpus" "$findings"
  echo "== $t for ${seconds}s"
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 "build-fuzz/fuzz/$t" "$corpus" "$seeds" \
    -max_len=65536 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" -print_final_stats=1 2>&1 | grep -E '^(#[0-9]+.*DONE|stat::|==.*ERROR|SUMMARY)|cov:' | tail -6
done
