#!/usr/bin/python3
"""Holding tabs as the material sees them (ezdxf, shapely). Usage:
check_tabs.py PLAIN TABBED KERF WIDTH
PLAIN and TABBED are closed-form DXF files of the same job without and with tabs. The cut is
every path grown by half the kerf; a tab is a piece of PLAIN's cut that TABBED leaves standing.
Prints: "<parts> <fewest tabs on a part> <most tabs on a part> <narrowest tab> <widest tab>
<pieces of the sheet cut without tabs> <pieces with tabs> <holes> <nearest corner to a tab>",
a tab's width from its area (a strip kerf wide with round-capped ends: area = width * kerf +
kerf^2 (1 - pi/4)); a corner is a vertex of PLAIN turning by more than 30 degrees."""
import math
import sys

import ezdxf
from shapely.geometry import LineString, Point, Polygon, box
from shapely.ops import unary_union


def paths(path):
    out = []
    for e in ezdxf.readfile(path).modelspace():
        if e.dxftype() == 'POLYLINE':
            points, closed = [tuple(v.dxf.location)[:2] for v in e.vertices], e.is_closed
        elif e.dxftype() == 'LWPOLYLINE':
            points, closed = list(e.get_points('xy')), e.closed
        else:
            continue
        out.append((points + points[:1]) if closed else points)
    return out


def pieces(geometry):
    return [g for g in getattr(geometry, 'geoms', [geometry]) if g.area > 1e-9]


plain, tabbed = paths(sys.argv[1]), paths(sys.argv[2])
kerf, width = float(sys.argv[3]), float(sys.argv[4])
cut = lambda ps: unary_union([LineString(p).buffer(kerf / 2) for p in ps])
full, kept = cut(plain), cut(tabbed)
# Opened (shrunk and grown back) to drop the needles two nearly equal outlines leave behind.
OPEN = kerf / 100
tabs = pieces(full.difference(kept).buffer(-OPEN).buffer(OPEN))

rings = [Polygon(p) for p in plain]
# Parts are rings inside an even number of others; holes inside an odd number.
# (Rings never cross, so one vertex tells.)
depth = [sum(1 for j, o in enumerate(rings) if j != i and o.contains(Point(plain[i][0])))
         for i in range(len(rings))]
parts = [i for i, d in enumerate(depth) if d % 2 == 0]
holes = len(rings) - len(parts)
per_part = [sum(1 for t in tabs if LineString(plain[i]).distance(t) < kerf / 4) for i in parts]
widths = [t.area / kerf - kerf * (1 - math.pi / 4) for t in tabs]  # opening loses ~nothing

x0, y0, x1, y1 = full.bounds
sheet = box(x0 - 5, y0 - 5, x1 + 5, y1 + 5)
corners = []
for p in plain:
    ring = p[:-1]
    for i, q in enumerate(ring):
        a, b = ring[i - 1], ring[(i + 1) % len(ring)]
        turn = math.atan2(b[1] - q[1], b[0] - q[0]) - math.atan2(q[1] - a[1], q[0] - a[0])
        if abs(math.remainder(turn, 2 * math.pi)) > math.radians(30):
            corners.append(Point(q))
nearest = min((c.distance(t) for c in corners for t in tabs), default=float('inf'))
print(len(parts), min(per_part, default=0), max(per_part, default=0), min(widths, default=0),
      max(widths, default=0), len(pieces(sheet.difference(full))), len(pieces(sheet.difference(kept))),
      holes, nearest)
