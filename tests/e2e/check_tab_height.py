#!/usr/bin/python3
"""Tabs a router crosses at a height, as the material sees them. The program is read by the npm
interpreter (tests/gcode) and by LinuxCNC's rs274; for each reader the material along the tool's
path is simulated: every stretch of the path (the feed moves' XY pieces, passes over the same
piece merged) is cut down to the lowest Z any feed move reached on it.
Usage: check_tab_height.py FILE.nc Z_CUT
Prints per reader "<reader> <tab stretches> <stretches at another height> <shortest tab>
<longest tab> <tab height>": a tab stretch is a run of pieces left above Z_CUT; the height is
the largest material left over a tab (its top less Z_CUT); "another height" counts the
pieces whose floor differs from Z_CUT and from that tab top (two tab heights, a half-cut)."""
import re
import subprocess
import sys

GCODE_CHECK = sys.path[0] + "/../gcode/check_gcode.js"
sys.path.insert(1, sys.path[0] + "/../support")
import rs274  # noqa: E402
STEP = 1e-4  # the file's last decimal


def npm_moves(path):
    out = subprocess.run(["node", GCODE_CHECK, path], check=True, capture_output=True, text=True).stdout
    moves = []
    for line in out.splitlines():
        w = line.split()
        if w[0] == 'move':
            v = [float(t) for t in w[4:10]]
            moves.append((w[1] == 'G1', tuple(v[:3]), tuple(v[3:])))
    return moves


def rs274_moves(path):
    out = rs274.run(path, check=True, capture_output=True, text=True).stdout
    if "error" in out.lower():
        raise SystemExit("rs274 refused the program:\n" + out)
    moves, at = [], (0.0, 0.0, 0.0)
    for line in out.splitlines():
        m = re.search(r"(STRAIGHT_FEED|STRAIGHT_TRAVERSE)\(([^)]*)\)", line)
        if m:
            b = tuple(float(v) for v in m.group(2).split(",")[:3])
            moves.append((m.group(1) == "STRAIGHT_FEED", at, b))
            at = b
    return moves


def key(p):
    return (round(p[0] / STEP), round(p[1] / STEP))


def measure(moves, zcut):
    floor, order = {}, []  # XY piece (either way) -> lowest Z fed along it
    for feed, a, b in moves:
        if key(a) == key(b):
            continue  # a plunge or a rise
        if not feed:
            if min(a[2], b[2]) < 0:
                raise SystemExit(f"a rapid move through the material: {a} -> {b}")
            continue
        if a[2] != b[2]:
            raise SystemExit(f"a sloped cut: {a} -> {b}")
        k = tuple(sorted((key(a), key(b))))
        if k not in floor:
            order.append((k, a, b))
            floor[k] = a[2]
        floor[k] = min(floor[k], a[2])
    tops = sorted({round(z, 4) for z in floor.values() if abs(z - zcut) > STEP / 2 and z < 0})
    top = tops[-1] if tops else None
    runs, other, current, last = [], 0, 0.0, None
    for k, a, b in order:
        z = floor[k]
        length = ((a[0] - b[0]) ** 2 + (a[1] - b[1]) ** 2) ** 0.5
        if abs(z - zcut) <= STEP / 2 or z >= 0:
            if z >= 0:
                other += 1
            if current:
                runs.append(current)
            current = 0.0
        elif abs(z - top) <= STEP / 2:
            # A stretch goes on while its pieces follow one another along the path.
            if current and last != key(a):
                runs.append(current)
                current = 0.0
            current += length
        else:
            other += 1
        last = key(b)
    if current:
        runs.append(current)
    height = (top - zcut) if top is not None else 0
    return f"{len(runs)} {other} {min(runs, default=0):.3f} {max(runs, default=0):.3f} {height:.4f}"


zcut = float(sys.argv[2])
print("npm", measure(npm_moves(sys.argv[1]), zcut))
print("rs274", measure(rs274_moves(sys.argv[1]), zcut))
