#!/usr/bin/env bash
# Installs every Debian package listed in scripts/packages.txt that is not installed yet.
# Does nothing (and needs no network) when all of them are present.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$here/packages.txt")
missing=()
for p in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# Debian's nodejs comes without npm; some nodejs builds carry it (and conflict with the
# npm package), so npm is only asked for when the command is missing.
if ! command -v npm >/dev/null 2>&1; then
  missing+=(npm)
fi
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The G-code tests read programs back with an npm interpreter, pinned by its lock file.
gcode_check="$here/../tests/gcode"
if [ ! -d "$gcode_check/node_modules/gcode-toolpath" ]; then
  (cd "$gcode_check" && npm ci --no-audit --no-fund --loglevel=error)
fi
