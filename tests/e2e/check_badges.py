#!/usr/bin/python3
"""Framed items on a sheet-sized SVG, as independent readers see them: the page read from the
svg element, the path data's closed subpaths (M x y ... Z, straight lines only) made polygons by
shapely. Usage: check_badges.py W H GAP MARGIN FILE.svg
Prints "<page W> <page H> <frames> <inside 0|1> <apart 0|1> <margin 0|1> <clear 0|1>". Frames are the rings
no other ring holds; inside: every vertex on the sheet; apart: every two frames at least the gap
apart; margin: every other ring lies within a frame, at least the margin inside its edge; clear:
no two letter outlines in a frame cross (lines set on top of each other would)."""
import re
import sys
import xml.etree.ElementTree as ET

from shapely.geometry import Polygon

width, height, gap, margin = (float(v) for v in sys.argv[1:5])
SLACK = 1e-3
root = ET.parse(sys.argv[5]).getroot()
box = [float(v) for v in root.get('viewBox').split()]
page_w = float(root.get('width').removesuffix('mm'))
page_h = float(root.get('height').removesuffix('mm'))
# The page must be the sheet itself: from (0, 0) to (W, H) with Y up, so the view box's top is -H.
page_ok = box == [0.0, -height, width, height]

rings = []
for path in root.iter('{http://www.w3.org/2000/svg}path'):
    for sub in re.findall(r'M([^MZ]*)Z', path.get('d')):
        v = [float(t) for t in sub.split()]
        rings.append([(v[i], -v[i + 1]) for i in range(0, len(v), 2)])
inside = all(-SLACK <= x <= width + SLACK and -SLACK <= y <= height + SLACK
             for ring in rings for x, y in ring)
polygons = [Polygon(r) for r in rings]
outer = [p for p in polygons if not any(q is not p and q.contains(p) for q in polygons)]
apart = all(a.distance(b) >= gap - SLACK for i, a in enumerate(outer) for b in outer[i + 1:])
at_margin = True
letters = {}
for p in polygons:
    if any(p is f for f in outer):
        continue
    holders = [f for f in outer if f.contains(p)]
    at_margin &= len(holders) == 1 and holders[0].exterior.distance(p) >= margin - SLACK
    if holders:
        letters.setdefault(id(holders[0]), []).append(p)
clear = all(not a.exterior.crosses(b.exterior) for group in letters.values()
            for i, a in enumerate(group) for b in group[i + 1:])
print(f'{page_w:g} {page_h:g} {len(outer)} {int(inside and page_ok)} {int(apart)} {int(at_margin)} {int(clear)}')
