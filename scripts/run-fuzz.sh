#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# each from its seed corpus. Skipped when clang is not installed.
#
#   scripts/run-fuzz.sh                 every target briefly (KERFLINE_FUZZ_SECONDS, default 10)
#   scripts/run-fuzz.sh --long [NAME…]  every target (or the named ones) for 10 minutes, one after
#                                       the other; new inputs that reach new code are merged into
#                                       fuzz/corpus/NAME/ and libFuzzer's final figures are printed
#   scripts/run-fuzz.sh SECONDS [NAME…] the same as --long for the given number of seconds
#
# A long run keeps its logs and any crash input under build-fuzz/runs/NAME/. On a shared machine
# start it as `nice -n 19 scripts/run-fuzz.sh --long`.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${KERFLINE_FUZZ_SECONDS:-10}"
long=0
if [ "$#" -gt 0 ]; then
  case "$1" in
    --long) seconds=600; long=1; shift ;;
    ''|*[!0-9]*) echo "usage: $0 [--long | SECONDS] [TARGET...]" >&2; exit 2 ;;
    *) seconds="$1"; long=1; shift ;;
  esac
fi
if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ not found, skipped"
  exit 0
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKERFLINE_FUZZ=ON -DKERFLINE_WERROR=ON -DKERFLINE_GUI=OFF -DKERFLINE_TESTS=OFF -DKERFLINE_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)"
shopt -s nullglob
if [ "$#" -gt 0 ]; then
  exes=()
  for name in "$@"; do exes+=("build-fuzz/fuzz/fuzz_$name"); done
else
  exes=(build-fuzz/fuzz/fuzz_*)
fi
ran=0
for exe in "${exes[@]}"; do
  [ -x "$exe" ] || { [ "$#" -eq 0 ] && continue; echo "fuzz: no target $exe" >&2; exit 2; }
  name="${exe##*/fuzz_}"
  seeds="fuzz/corpus/$name"
  echo "fuzz: $name for ${seconds}s"
  if [ "$long" -eq 0 ]; then
    work="$(mktemp -d)"
    [ -d "$seeds" ] && cp -r "$seeds/." "$work/"
    "$exe" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=0 "$work" >"$work.log" 2>&1 || { tail -n 60 "$work.log"; echo "fuzz: $name FAILED"; exit 1; }
    rm -rf "$work" "$work.log"
  else
    run="build-fuzz/runs/$name"
    rm -rf "$run"
    mkdir -p "$run/corpus" "$seeds"
    cp -r "$seeds/." "$run/corpus/"
    "$exe" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$run/" "$run/corpus" >"$run/log" 2>&1 \
      || { tail -n 60 "$run/log"; echo "fuzz: $name FAILED (input kept in $run/)"; exit 1; }
    # Only the inputs that reach new code join the seeds (edges, not hit counts), so the
    # corpus stays small.
    "$exe" -merge=1 -use_counters=0 -max_len=65536 -timeout=10 -rss_limit_mb=2048 "$seeds" "$run/corpus" \
      >"$run/merge.log" 2>&1 || { tail -n 30 "$run/merge.log"; echo "fuzz: $name merge FAILED"; exit 1; }
    { grep -E '^#[0-9]+[[:space:]]+DONE' "$run/log" | tail -n 1
      grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$run/log"
      grep -E 'MERGE-OUTER: [0-9]+ new files' "$run/merge.log"
    } | sed "s/^/fuzz: $name /" || true
  fi
  ran=$((ran + 1))
done
echo "fuzz: $ran targets ran clean"
