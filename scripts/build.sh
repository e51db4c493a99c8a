#!/usr/bin/env bash
# Builds into build/ (the runnable folder is build/bin).
#   scripts/build.sh                 everything: the programs, the tests, the benchmarks
#   scripts/build.sh TARGET...       only those targets, e.g. `programs` (build/bin alone)
# CMake configures build/ on the first run only; afterwards the build re-runs it by itself
# when a CMakeLists.txt changes. Its report goes to build/configure.log and is shown only
# when configuring fails.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
  mkdir -p build
  if ! cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >build/configure.log 2>&1; then
    cat build/configure.log >&2
    exit 1
  fi
fi
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build build --parallel "$(nproc)" "${targets[@]}"
