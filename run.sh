#!/usr/bin/env bash
# The main job: installs what is missing, builds in Release and converts text to DXF.
#   ./run.sh                      convert the bundled example (examples/sample.txt)
#   ./run.sh FILE [args...]       convert FILE; args as for kerfline-convert --help
#   ./run.sh --gui [args...]      start the window
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh >&2
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKERFLINE_TESTS=OFF -DKERFLINE_BENCH=OFF >/dev/null
cmake --build build-release -j "$(nproc)" >/dev/null
bin=build-release/bin
if [ "${1:-}" = "--gui" ]; then
  shift
  exec "$bin/kerfline" "$@"
fi
if [ "$#" -eq 0 ]; then
  set -- examples/sample.txt
fi
exec "$bin/kerfline-convert" --report "$@"
