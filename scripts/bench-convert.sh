#!/usr/bin/env bash
# Times the headless conversion on generated plain text of 20,000 and 100,000 characters
# (mixed letters, digits and punctuation on lines of 64 characters) at resolution 2:
# wall time, characters per second, megabytes of DXF per second and peak memory (RSS).
#   scripts/bench-convert.sh [MODE]     MODE 2 "Lines + Z moves" (default) or 1 "PolyLines",
#                                       or closed (R12), closed2000 or svg: the cut-ready
#                                       forms, with their size against the Lines file;
#                                       font: the Lines file with --spacing font
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-2}"
case "$mode" in
  1|2) form_args=() ;;
  closed) form_args=(--format closed) ;;
  closed2000) form_args=(--format closed --dxf-version 2000) ;;
  svg) form_args=(--format svg) ;;
  font) form_args=(--spacing font) ;;
  *) echo "bench-convert: MODE is 1, 2, closed, closed2000, svg or font" >&2; exit 2 ;;
esac
scripts/install-deps.sh >&2
log="build-release/build.log"
mkdir -p build-release
if ! { cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
         -DKERFLINE_TESTS=OFF -DKERFLINE_BENCH=OFF &&
       cmake --build build-release -j "$(nproc)" --target kerfline-convert; } >"$log" 2>&1; then
  tail -n 40 "$log" >&2
  echo "bench-convert: the build failed (full log: $log)" >&2
  exit 1
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A private copy: no Reg.ini beside it, so every run uses the same defaults.
mkdir -p "$work/bin"
cp build-release/bin/kerfline-convert "$work/bin/"
exe="$work/bin/kerfline-convert"

# Exactly N bytes of text: lines of 63 characters and a line feed, the last line cut short.
generate() {
  local n="$1" out="$2"
  /usr/bin/python3 - "$n" "$out" <<'PY'
import random, sys
n, out = int(sys.argv[1]), sys.argv[2]
rng = random.Random(1365)
alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789,.-&"
chars = []
while len(chars) < n:
    line = []
    while len(line) < 63:
        word = "".join(rng.choice(alphabet) for _ in range(rng.randint(2, 9)))
        line.extend(word + " ")
    chars.extend(line[:63] + ["\n"])
with open(out, "w", encoding="ascii", newline="") as f:
    f.write("".join(chars[:n]))
PY
}

# One small run first, so font discovery and the page cache do not count against the first size.
printf 'warm up\n' >"$work/warm.txt"
"$exe" "$work/warm.txt" 100 -2.000 2 10 >/dev/null

printf '%-10s %8s %12s %10s %10s %12s %9s\n' characters "wall s" "chars/s" "file MB" "MB/s" \
  "peak RSS MB" "of Lines"
for n in 20000 100000; do
  text="$work/text_$n.txt"
  generate "$n" "$text"
  dxf="$work/text_$n.DXF"
  lines_bytes=""
  if [ "${#form_args[@]}" -eq 0 ]; then
    /usr/bin/time -v -o "$work/time_$n" "$exe" "$text" 100 -2.000 2 10 0 "$mode"
  else
    # The Lines file of the same text first, for the size share.
    "$exe" "$text" 100 -2.000 2 10 0 2
    lines_bytes="$(stat -c %s "$dxf")"
    rm -f "$dxf"
    dxf="$work/text_$n.out"
    /usr/bin/time -v -o "$work/time_$n" "$exe" "${form_args[@]}" -o "$dxf" "$text"
  fi
  wall="$(awk -F': ' '/Elapsed \(wall clock\)/ {
            n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' \
          "$work/time_$n")"
  rss_kb="$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time_$n")"
  bytes="$(stat -c %s "$dxf")"
  awk -v n="$n" -v w="$wall" -v b="$bytes" -v r="$rss_kb" -v l="$lines_bytes" 'BEGIN {
        if (w <= 0) w = 0.005  # below the timer resolution of 10 ms
        share = l == "" ? "-" : sprintf("%.3f", b / l)
        printf "%-10d %8.2f %12.0f %10.1f %10.1f %12.1f %9s\n", n, w, n / w, b / 1e6, b / 1e6 / w,
               r / 1024, share }'
  rm -f "$dxf"
done
