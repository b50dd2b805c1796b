#!/usr/bin/env bash
# Times a production run of the whole program: 2,000 name badges of two lines each, merged from
# a generated CSV file and laid out on sheets of 300 x 200 with a gap of 5 (SVG, and G-code with
# a kerf and two tabs per outline): wall time, sheets written and peak memory (RSS).
#   scripts/bench-production.sh [KERFLINE_CONVERT]   default: build/bin/kerfline-convert
set -euo pipefail
cd "$(dirname "$0")/.."
exe="$(realpath "${1:-build/bin/kerfline-convert}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Names and roles of varying length, some quoted with a comma, as a spreadsheet saves them.
python3 - "$work/team.csv" <<'PY'
import csv, sys
roles = ["Lead", "Design", "Operations", "Quality, night shift", "Apprentice"]
with open(sys.argv[1], "w", newline="") as f:
    w = csv.writer(f)
    w.writerow(["name", "role"])
    for i in range(2000):
        w.writerow([f"Person {i:04d} {'Ann Bob Cy Dee Eve'.split()[i % 5]}", roles[i % len(roles)]])
PY
cd "$work"
run() {
  local label="$1"; shift
  /usr/bin/time -f "%e %M" -o time.txt "$exe" --text $'{name}\n{role}' --merge team.csv \
    --font "DejaVu Sans" --size 24 --pitch auto --sheet 300x200 --gap 5 "$@"
  read -r seconds rss <time.txt
  echo "$label: ${seconds} s, $(ls sheet-* | wc -l) sheets, peak ${rss} KB"
  rm -f sheet-*
}
run "2000 badges, svg" -f svg -o sheet.svg
run "2000 badges, gcode, kerf 0.2, 2 tabs" -f gcode --kerf 0.2 --tabs 2 --tab-width 0.5 -o sheet.nc
