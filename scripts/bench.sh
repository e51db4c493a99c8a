#!/usr/bin/env bash
# Builds the benchmarks in Release into build-bench/, runs every one of them and prints
# their rows as one markdown table, with the machine they ran on.
#   scripts/bench.sh            build and run
#   scripts/bench.sh --no-build run what build-bench/ holds
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--no-build" ]; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd .. && pwd)}"
  log=$(mktemp)
  if ! { cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DDALVINO_TESTS=OFF &&
         cmake --build build-bench --parallel "$(nproc)" \
           --target bench_startup bench_xml bench_sort_search bench_analysis bench_lint bench_csv bench_print bench_undo bench_kana; } >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
fi

# Window benchmarks need no display.
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
mhz=$(sed -n 's/^cpu MHz[[:space:]]*: \([0-9]*\).*/\1/p' /proc/cpuinfo | head -n1)
qt=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo unknown)
icu=$(dpkg-query -W -f='${Version}' libicu-dev 2>/dev/null || echo unknown)
gcc=$(g++ -dumpfullversion 2>/dev/null || echo unknown)
echo "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on ${cpu:-unknown CPU} (${mhz:-?} MHz), $(nproc) cores,"
echo "load average before the run $(cut -d' ' -f1-3 /proc/loadavg); Qt ${qt}, ICU ${icu}, g++ ${gcc}; Release build."
echo

echo "| benchmark | baseline | ours | ratio | target |"
echo "|---|---|---|---|---|"
status=0
for bench in bench_startup bench_xml bench_sort_search bench_analysis bench_lint bench_csv bench_print bench_undo bench_kana; do
  if ! out=$("build-bench/bench/$bench" 2>&1); then
    echo "| $bench | failed | - | - | - |"
    echo "$out" >&2
    status=1
    continue
  fi
  # Each program prints its own heading; the table takes the rows only.
  echo "$out" | grep '^| ' | grep -v -e '^| benchmark |' -e '^|---' || true
done
echo
echo "Load average after the run: $(cut -d' ' -f1-3 /proc/loadavg)."
exit $status
