#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for a while.
#   fuzz/run.sh [seconds per target, default 600] [target ...]
#   FUZZ_JOBS=2 fuzz/run.sh ...   runs that many targets side by side (default 1)
# The seed corpus is made from the project's own samples, test data, help files and
# fuzz/seeds/; inputs are capped at 64 KB. Each target keeps its corpus in
# build-fuzz/corpus/<target>/ (so a second run goes on from the first), its findings in
# build-fuzz/findings/<target>/ and its whole output in build-fuzz/logs/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
jobs=${FUZZ_JOBS:-1}
command -v clang++ >/dev/null || { echo "fuzz/run.sh needs clang (apt-get install clang libclang-rt-14-dev)"; exit 2; }
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDALVINO_FUZZ=ON -DDALVINO_TESTS=OFF >/dev/null
cmake --build build-fuzz --parallel "$(nproc)" --target fuzz_all >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for t in build-fuzz/fuzz/fuzz_*; do [ -f "$t" ] && [ -x "$t" ] && targets+=("$(basename "$t")"); done
fi
seeds=build-fuzz/seeds
rm -rf "$seeds" && mkdir -p "$seeds"
for folder in samples data tests fuzz/seeds; do
  [ -d "$folder" ] || continue
  find "$folder" -type f \( -name '*.xml' -o -name '*.csv' -o -name '*.leg' -o -name '*.dat' -o -name '*.ini' \
    -o -name '*.txt' -o -name '*.htm' -o -name '*.html' \) -size -64k -exec cp {} "$seeds/" \;
done
mkdir -p build-fuzz/logs

run_one() {
  local t=$1 corpus=build-fuzz/corpus/$1 findings=build-fuzz/findings/$1 log=build-fuzz/logs/$1.log
  mkdir -p "$corpus" "$findings"
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 "build-fuzz/fuzz/$t" "$corpus" "$seeds" \
    -max_len=65536 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1 || true
  {
    echo "== $t (${seconds}s)"
    grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$log" | tail -1 || true
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^==[0-9]+==ERROR|^SUMMARY|PROPERTY BROKEN' "$log" || true
    ls "$findings"
  }
}

running=0
for t in "${targets[@]}"; do
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait
