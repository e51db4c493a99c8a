#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (window tests run
# with the offscreen platform, so no display is needed).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
