#!/usr/bin/python3
"""Fits an inlay's plug into its pocket, independently of the program's geometry.

Both parts' programs must pass LinuxCNC's rs274 and are read back by the npm interpreter (tests/gcode/check_gcode.js); each
part's surface is the envelope of the tool swept along its moves, computed exactly per move on a
grid: a V-bit of half angle a at (c, z) cuts down to z + |p - c| / tan(a), and along a straight
move the lowest such cone is found in closed form; an end mill cuts a flat disc. The letters come
from the closed-polyline DXF (ezdxf); the plug is sawn out along their box grown by the margin,
mirrored back about the box's centre, turned over and lowered until it first touches the pocket.

Prints one line: <samples> <smallest gap> <largest gap> <pocket depth>: the vertical gaps
between the pocket's surface and the plug's, sampled inside the letters inset by three cells.
Usage: check_inlay.py OUTLINE.dxf ANGLE MARGIN POCKET.nc PLUG.nc
                      [ENDMILL_DIAMETER POCKET_CLEAR.nc PLUG_CLEAR.nc]
"""
import math
import os
import subprocess
import sys

import numpy as np
from shapely import vectorized

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(1, os.path.join(HERE, "..", "support"))
from check_carving import INTERPRETER, region_of, rings_of  # noqa: E402
import rs274  # noqa: E402

CELL = 0.05
INSET = 3


def moves(path):
    # LinuxCNC's reader must take the program too; it says "error" rather than failing.
    check = rs274.run(path, capture_output=True, text=True)
    if check.returncode != 0 or 'error' in check.stdout.lower():
        raise SystemExit('rs274 refused ' + path + ':\n' + check.stdout + check.stderr)
    out = subprocess.run(['node', INTERPRETER, path], capture_output=True, text=True, check=True).stdout
    return [tuple(float(t) for t in l.split()[4:10]) for l in out.splitlines() if l.startswith('move G1')]


def surface(tool_moves, xs, ys, tan_half, mill_radius=None):
    """The lowest point each grid point's column is cut to (0 where nothing cuts)."""
    h = np.zeros((len(ys), len(xs)))
    for ax, ay, az, bx, by, bz in tool_moves:
        if az >= 0 and bz >= 0:
            continue
        reach = mill_radius if mill_radius else -min(az, bz) * tan_half
        i0, i1 = np.searchsorted(xs, [min(ax, bx) - reach, max(ax, bx) + reach])
        j0, j1 = np.searchsorted(ys, [min(ay, by) - reach, max(ay, by) + reach])
        if i0 >= i1 or j0 >= j1:
            continue
        px, py = np.meshgrid(xs[i0:i1], ys[j0:j1])
        dx, dy = bx - ax, by - ay
        length = math.hypot(dx, dy)
        if length < 1e-12:
            dist = np.hypot(px - ax, py - ay)
            z = np.full(dist.shape, min(az, bz))
            cut = np.where(dist <= mill_radius, z, 0) if mill_radius else z + dist / tan_half
        elif mill_radius:
            w = np.clip(((px - ax) * dx + (py - ay) * dy) / length, 0, length)
            dist = np.hypot(px - (ax + w * dx / length), py - (ay + w * dy / length))
            cut = np.where(dist <= mill_radius, az + w / length * (bz - az), 0)
        else:
            # f(w) = az + g w + sqrt((u - w)^2 + v^2) / k is convex in w, the distance along
            # the move: its minimum solves (u - w) / sqrt(...) = g k, clamped to the move.
            u = ((px - ax) * dx + (py - ay) * dy) / length
            v = np.abs((px - ax) * dy - (py - ay) * dx) / length
            g = (bz - az) / length
            q = g * tan_half
            if abs(q) < 1:
                w = np.clip(u - q * v / math.sqrt(1 - q * q), 0, length)
                cut = az + g * w + np.hypot(u - w, v) / tan_half
            else:
                cut = np.minimum(az + np.hypot(u, v) / tan_half, bz + np.hypot(u - length, v) / tan_half)
        np.minimum(h[j0:j1, i0:i1], np.minimum(cut, 0), out=h[j0:j1, i0:i1])
    return h


def part(nc, clear_nc, xs, ys, tan_half, mill):
    h = surface(moves(nc), xs, ys, tan_half)
    if clear_nc:
        np.minimum(h, surface(moves(clear_nc), xs, ys, tan_half, mill / 2), out=h)
    return h


def main():
    outline, angle, margin = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
    pocket_nc, plug_nc = sys.argv[4], sys.argv[5]
    mill = float(sys.argv[6]) if len(sys.argv) > 6 else None
    tan_half = math.tan(math.radians(angle) / 2)
    rings = rings_of(outline)
    pts = np.array([p for r in rings for p in r])
    x0, y0 = pts.min(axis=0) - margin
    x1, y1 = pts.max(axis=0) + margin
    # A grid symmetric about the box's centre: the mirror of a grid point is a grid point.
    cx = (x0 + x1) / 2
    n = int(math.ceil((x1 - cx) / CELL)) + 2
    xs = cx + CELL * np.arange(-n, n + 1)
    ys = np.arange(y0 - 2 * CELL, y1 + 2 * CELL, CELL)
    pocket = part(pocket_nc, mill and sys.argv[7], xs, ys, tan_half, mill)
    plug = part(plug_nc, mill and sys.argv[8], xs, ys, tan_half, mill)[:, ::-1]
    # Sawn out along the box; turned over, its face at height c, its surface at c - plug.
    inbox = ((xs[None, :] >= x0) & (xs[None, :] <= x1)) & ((ys[:, None] >= y0) & (ys[:, None] <= y1))
    c = np.max(np.where(inbox, pocket + plug, -np.inf))
    gap = c - plug - pocket
    # Inside the letters inset by a few cells: a grid point next to the outline samples the
    # wall's foot on one part only.
    gx, gy = np.meshgrid(xs, ys)
    inside = vectorized.contains(region_of(rings).buffer(-INSET * CELL), gx, gy)
    g = gap[inside]
    print(len(g), f'{g.min():.5f}', f'{g.max():.5f}', f'{-pocket.min():.5f}')


if __name__ == '__main__':
    main()
