#!/usr/bin/env bash
# The main job: installs what is missing, builds in Release and converts text to DXF.
#   ./run.sh                      convert the bundled example (examples/sample.txt)
#   ./run.sh FILE [args...]       convert FILE; args as for kerfline-convert --help
#   ./run.sh --help               what the arguments mean
#   ./run.sh --gui [args...]      start the window
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh >&2
log="build-release/build.log"
mkdir -p build-release
# Quiet when all is well; the compiler's own words when it is not.
if ! { cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
         -DKERFLINE_TESTS=OFF -DKERFLINE_BENCH=OFF &&
       cmake --build build-release -j "$(nproc)"; } >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  echo "run.sh: the build failed (full log: $log)" >&2
  exit 1
fi
bin=build-release/bin
if [ "${1:-}" = "--gui" ]; then
  shift
  exec "$bin/kerfline" "$@"
fi
if [ "${1:-}" = "--help" ] || [ "${1:-}" = "-h" ]; then
  exec "$bin/kerfline-convert" --help
fi
if [ "$#" -eq 0 ]; then
  set -- examples/sample.txt
fi
exec "$bin/kerfline-convert" --report "$@"
