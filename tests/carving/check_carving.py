#!/usr/bin/python3
"""Measures a carving against its outline, independently of the program's geometry.

The outline comes from the program's closed-polyline DXF (read with ezdxf); the carving from
G-code read back by the npm interpreter (tests/gcode/check_gcode.js). A V-bit's footprint at a
point of depth z is the disc of radius -z * tan(angle / 2); an end mill's, below the surface, the
disc of its radius. Along a straight move the radius changes linearly, so the footprint of the
move is the convex hull of its end discs.

Prints one line: <moves> <samples> <largest overcut> <99th percentile overcut> <coverage>
<largest uncut piece> <letter area>: overcut is how far a footprint, sampled every 0.05 along
each cutting move, reaches past the outline (0 inside); coverage the share of the letter area
under some footprint; areas in square drawing units.
Usage: check_carving.py OUTLINE.dxf VBIT_ANGLE VBIT.nc [ENDMILL_DIAMETER ENDMILL.nc]
"""
import math
import os
import subprocess
import sys

import ezdxf
from shapely.geometry import Point, Polygon
from shapely.ops import unary_union
from shapely.prepared import prep

HERE = os.path.dirname(os.path.abspath(__file__))
INTERPRETER = os.path.join(HERE, '..', 'gcode', 'check_gcode.js')
STEP = 0.05
DISC = 64  # segments per quarter circle: a disc's polygon lies within 8e-5 r of the circle


def rings_of(path):
    rings = []
    for e in ezdxf.readfile(path).modelspace():
        if e.dxftype() == 'LWPOLYLINE':
            rings.append([(x, y) for x, y in e.get_points('xy')])
        elif e.dxftype() == 'POLYLINE':
            rings.append([(v.dxf.location[0], v.dxf.location[1]) for v in e.vertices])
    return [r for r in rings if len(r) >= 3]


def region_of(rings):
    # Letters may overlap (then the drawing is welded, or not): each hole belongs to the
    # smallest outline holding it, and the letter region is the union of outlines with their
    # holes. A ring is a hole when an odd number of rings hold it (nesting within its letter).
    polys = [Polygon(r).buffer(0) for r in rings]
    depth = [sum(1 for j, q in enumerate(polys) if j != i and q.contains(p.representative_point())
                 and q.area > p.area) for i, p in enumerate(polys)]
    parts = []
    for i, p in enumerate(polys):
        if depth[i] % 2:
            continue
        holes = [q for j, q in enumerate(polys) if depth[j] == depth[i] + 1 and p.contains(q)]
        parts.append(p.difference(unary_union(holes)) if holes else p)
    return unary_union(parts)


def moves_of(path):
    out = subprocess.run(['node', INTERPRETER, path], capture_output=True, text=True, check=True)
    moves = []
    for line in out.stdout.splitlines():
        v = line.split()
        if v[0] == 'move' and v[1] == 'G1':
            moves.append(tuple(float(t) for t in v[4:10]))
    return moves


def main():
    region = region_of(rings_of(sys.argv[1]))
    inside = prep(region)
    boundary = region.boundary
    tan_half = math.tan(math.radians(float(sys.argv[2])) / 2)
    tools = [(moves_of(sys.argv[3]), lambda z: max(0.0, -z * tan_half))]
    if len(sys.argv) > 5:
        radius = float(sys.argv[4]) / 2
        tools.append((moves_of(sys.argv[5]), lambda z: radius if z < 0 else 0.0))
    overcuts, footprints, count = [], [], 0
    for moves, radius_at in tools:
        for x1, y1, z1, x2, y2, z2 in moves:
            r1, r2 = radius_at(z1), radius_at(z2)
            if r1 <= 0 and r2 <= 0:
                continue
            count += 1
            n = max(1, math.ceil(math.hypot(x2 - x1, y2 - y1) / STEP))
            for k in range(n + 1):
                t = k / n
                p = Point(x1 + t * (x2 - x1), y1 + t * (y2 - y1))
                r = radius_at(z1 + t * (z2 - z1))
                d = boundary.distance(p)
                overcuts.append(max(0.0, r - d) if inside.contains(p) else r + d)
            # An end at the surface (a corner's tip) is a point of the hull, not a disc.
            ends = [Point(x, y).buffer(r, DISC) if r > 0 else Point(x, y)
                    for x, y, r in ((x1, y1, r1), (x2, y2, r2))]
            footprints.append(unary_union(ends).convex_hull)
    cut = unary_union(footprints)
    uncut = region.difference(cut)
    pieces = list(getattr(uncut, 'geoms', [uncut]))
    overcuts.sort()
    p99 = overcuts[min(len(overcuts) - 1, int(0.99 * len(overcuts)))] if overcuts else 0.0
    print(count, len(overcuts), repr(overcuts[-1] if overcuts else 0.0), repr(p99),
          repr(1 - uncut.area / region.area), repr(max((g.area for g in pieces), default=0.0)),
          repr(region.area))


if __name__ == '__main__':
    main()
