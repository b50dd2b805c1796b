#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each briefly from its seed corpus. Skipped when clang is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${KERFLINE_FUZZ_SECONDS:-10}"
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ not found, skipped"
  exit 0
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKERFLINE_FUZZ=ON -DKERFLINE_WERROR=ON -DKERFLINE_GUI=OFF -DKERFLINE_TESTS=OFF -DKERFLINE_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)"
shopt -s nullglob
ran=0
for exe in build-fuzz/fuzz/fuzz_*; do
  [ -x "$exe" ] || continue
  name="${exe##*/fuzz_}"
  seeds="fuzz/corpus/$name"
  work="$(mktemp -d)"
  [ -d "$seeds" ] && cp -r "$seeds/." "$work/"
  echo "fuzz: $name for ${seconds}s"
  "$exe" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=0 "$work" >"$work.log" 2>&1 || { tail -n 60 "$work.log"; echo "fuzz: $name FAILED"; exit 1; }
  rm -rf "$work" "$work.log"
  ran=$((ran + 1))
done
echo "fuzz: $ran targets ran clean"
