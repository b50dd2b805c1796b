#!/usr/bin/python3
"""Checks a weld with shapely, independently of the polygon library the program uses.

Input file: one ring per line, "I <character> x y x y ..." for the rings before the weld and
"O x y x y ..." for the rings after it. A character's area is read by the non-zero rule from
scratch: its rings are noded into faces, and a face belongs to the area when the rings wind
around it a non-zero number of times (flattened glyph curves may cross themselves).
Prints one line:
  <union area> <area after> <area of the symmetric difference> <perimeter after>
  <crossing ring pairs after> <invalid rings after> <holes of the union> <holes after>
Usage: check_region.py FILE
"""
import sys
from collections import defaultdict

from shapely.geometry import LinearRing, LineString, Polygon
from shapely.ops import polygonize, unary_union


def ring_points(values):
    return list(zip(values[0::2], values[1::2]))


def winding(point, ring):
    """Winding number of ring around point (crossings of the ray to the right)."""
    x, y = point
    w = 0
    for (x1, y1), (x2, y2) in zip(ring, ring[1:] + ring[:1]):
        if y1 <= y < y2 and (x2 - x1) * (y - y1) - (x - x1) * (y2 - y1) > 0:
            w += 1
        elif y2 <= y < y1 and (x2 - x1) * (y - y1) - (x - x1) * (y2 - y1) < 0:
            w -= 1
    return w


def non_zero(rings):
    lines = unary_union([LineString(r + r[:1]) for r in rings])
    faces = []
    for face in polygonize(lines):
        p = face.representative_point()
        if sum(winding((p.x, p.y), r) for r in rings) != 0:
            faces.append(face)
    return unary_union(faces)


def even_odd(polygons):
    region = Polygon()
    for p in polygons:
        region = region.symmetric_difference(p.buffer(0))
    return region


def crossing_pairs(polygons):
    """Pairs of rings whose areas overlap without one holding the other."""
    count = 0
    for i in range(len(polygons)):
        for j in range(i + 1, len(polygons)):
            a, b = polygons[i], polygons[j]
            if not a.envelope.intersects(b.envelope):
                continue
            common = a.intersection(b).area
            if common > 1e-9 and abs(common - min(a.area, b.area)) > 1e-9 * max(1.0, a.area):
                count += 1
    return count


def hole_count(geometry):
    parts = getattr(geometry, 'geoms', [geometry])
    return sum(len(p.interiors) for p in parts if not p.is_empty)


before = defaultdict(list)
after = []
with open(sys.argv[1]) as f:
    for line in f:
        fields = line.split()
        if not fields:
            continue
        if fields[0] == 'I':
            before[fields[1]].append(ring_points([float(v) for v in fields[2:]]))
        else:
            after.append(Polygon(ring_points([float(v) for v in fields[1:]])))

union = unary_union([non_zero(rings) for rings in before.values()])
welded = even_odd(after)
invalid = sum(1 for p in after if not LinearRing(p.exterior.coords).is_simple)
# A ring inside an odd number of other rings is a hole.
holes_after = sum(
    1 for i, p in enumerate(after)
    if sum(1 for j, q in enumerate(after) if i != j and q.area > p.area and q.contains(p.representative_point()) and q.contains(p)) % 2 == 1)
print(union.area, welded.area, union.symmetric_difference(welded).area,
      sum(p.length for p in after), crossing_pairs(after), invalid, hole_count(union), holes_after)
