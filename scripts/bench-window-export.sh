#!/usr/bin/env bash
# Times the window's export of a 20,000-character mixed-font RTF (the batch run of the real
# program, offscreen, minus its 3-second start-up timer) next to kerfline-convert on the same
# file and settings, and checks that both wrote the same bytes.
#   scripts/bench-window-export.sh [build-dir] [runs]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-3}"
cmake --build "$build" --target kerfline kerfline-convert -j2 >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$build/bin/kerfline" "$build/bin/kerfline-convert" "$work/"

# 20,000 characters: lines of 60, each run of 1 to 7 characters in one of three faces, five
# sizes and four styles, so nearly every character changes font.
/usr/bin/python3 - "$work/bench.rtf" <<'EOF'
import random, sys
rng = random.Random(7)
faces = ["Arial", "Times New Roman", "Courier New"]
letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 .,-&%"
out = ["{\\rtf1\\ansi\\deff0{\\fonttbl"]
out += ["{\\f%d\\fcharset0 %s;}" % (i, f) for i, f in enumerate(faces)]
out.append("}\n")
count = 0
line = 0
while count < 20000:
    n = rng.randint(1, 7)
    text = "".join(rng.choice(letters) for _ in range(n))
    style = rng.choice(["", "\\b", "\\i", "\\b\\i"])
    out.append("{\\f%d\\fs%d%s %s}" % (rng.randrange(3), rng.choice([16, 20, 24, 36, 48]), style, text))
    count += n
    line += n
    if line >= 58 and count < 19998:
        out.append("\\par\n")
        count += 2
        line = 0
out.append("}\n")
open(sys.argv[1], "w").write("".join(out))
EOF
mkdir -p "$work/window" "$work/convert"
cp "$work/bench.rtf" "$work/window/bench.rtf"
cp "$work/bench.rtf" "$work/convert/bench.rtf"

best() { sort -g | head -1; }
seconds() { date +%s.%N; }

convert_times=()
window_times=()
for _ in $(seq "$runs"); do
  t0=$(seconds)
  "$work/kerfline-convert" "$work/convert/bench.rtf" 100 -2 2 10 BENCH 2
  t1=$(seconds)
  convert_times+=("$(echo "$t1 - $t0" | bc -l)")

  t0=$(seconds)
  QT_QPA_PLATFORM=offscreen KERFLINE_AUTOCLOSE_MESSAGES=1 \
    "$work/kerfline" "$work/window/bench.rtf" 100 -2 2 10 BENCH 2
  t1=$(seconds)
  window_times+=("$(echo "$t1 - $t0 - 3" | bc -l)")
done

cmp "$work/window/bench.DXF" "$work/convert/bench.DXF"
conv=$(printf '%s\n' "${convert_times[@]}" | best)
win=$(printf '%s\n' "${window_times[@]}" | best)
printf 'input: 20,000 characters, %s bytes of DXF (identical from both)\n' "$(stat -c %s "$work/convert/bench.DXF")"
printf 'kerfline-convert:            %.3f s (best of %s)\n' "$conv" "$runs"
printf 'window batch run (minus 3 s): %.3f s (best of %s, includes window start-up and load)\n' "$win" "$runs"
printf 'ratio window / convert:      %.2f\n' "$(echo "$win / $conv" | bc -l)"
