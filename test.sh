#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, widget, end-to-end, fuzz smoke).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
jobs="$(nproc)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKERFLINE_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
scripts/run-fuzz.sh
