#!/usr/bin/python3
"""Checks medial axis points with shapely, independently of the program's geometry.

Input file: "R x y x y ..." lines for the region's rings (non-zero rule, outlines and holes),
then "P x y r" lines for the axis points with their claimed radius.
Prints: <points> <points outside the region> <largest |distance to the outline - r|>
Usage: check_axis.py FILE
"""
import sys

from shapely.geometry import LinearRing, Point, Polygon
from shapely.ops import unary_union

rings, points = [], []
with open(sys.argv[1]) as f:
    for line in f:
        v = line.split()
        if v[0] == "R":
            c = [float(t) for t in v[1:]]
            rings.append(list(zip(c[0::2], c[1::2])))
        elif v[0] == "P":
            points.append(tuple(float(t) for t in v[1:4]))

# Outlines and holes: a ring is a hole when an odd number of other rings hold its first point
# (the rings neither cross nor touch).
polys = [Polygon(r) for r in rings]
signed = [(p, sum(1 for j, q in enumerate(polys) if j != i and q.contains(Point(rings[i][0]))))
          for i, p in enumerate(polys)]
solid = unary_union([p for p, d in signed if d % 2 == 0])
holes = unary_union([p for p, d in signed if d % 2 == 1])
region = solid.difference(holes)
boundary = unary_union([LinearRing(r) for r in rings])

outside, worst = 0, 0.0
for x, y, r in points:
    q = Point(x, y)
    d = boundary.distance(q)
    if d > 1e-9 and not region.contains(q):
        outside += 1
    worst = max(worst, abs(d - r))
print(len(points), outside, repr(worst))
