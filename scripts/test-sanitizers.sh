#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/
# and runs the whole suite; any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDALVINO_SANITIZE=ON
cmake --build build-asan --parallel "$(nproc)"
cd build-asan
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/../scripts/lsan-suppressions.txt:print_suppressions=0"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
