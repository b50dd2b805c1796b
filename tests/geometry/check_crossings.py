#!/usr/bin/python3
"""Counts, with shapely, the rings of a drawing that a cutter would cut into each other.

Input file: one ring per line, "x y x y ...". Prints one line:
  <pairs of rings whose areas overlap without one holding the other> <rings crossing themselves>
A bounding-box tree finds the candidate pairs, so thousands of rings take seconds.
Usage: check_crossings.py FILE
"""
import sys
import warnings

from shapely.geometry import LinearRing, Polygon
from shapely.strtree import STRtree

warnings.simplefilter('ignore')  # shapely 1.8 announces its 2.0 tree interface

rings = []
with open(sys.argv[1]) as f:
    for line in f:
        values = [float(v) for v in line.split()]
        if values:
            rings.append(list(zip(values[0::2], values[1::2])))

polygons = [Polygon(r).buffer(0) for r in rings]
invalid = sum(1 for r in rings if not LinearRing(r).is_simple)
index = {id(p): i for i, p in enumerate(polygons)}
tree = STRtree(polygons)
crossing = 0
for i, a in enumerate(polygons):
    for b in tree.query(a):
        if index[id(b)] <= i:
            continue
        common = a.intersection(b).area
        if common > 1e-9 and abs(common - min(a.area, b.area)) > 1e-9 * max(1.0, a.area):
            crossing += 1
print(crossing, invalid)
