#!/usr/bin/python3
"""Checks the cut order of an SVG the writer made, with shapely (GEOS) as the independent
geometry: in every path (one character) each ring's nesting depth is the number of the
path's other rings that cover it; outlines (even depth) must run counter-clockwise and holes
(odd depth) clockwise in drawing units (Y up; the SVG's Y runs down), and every ring must come
after every ring it covers. Prints:
  paths <n> rings <n> open <n> holes <n> wrong_direction <n> wrong_order <n>
  depths <d1,d2,...>   per path, in file order
Usage: check_cut_order.py FILE
"""
import re
import sys
import xml.etree.ElementTree as ET

from shapely.geometry import LinearRing, Polygon

SVG = '{http://www.w3.org/2000/svg}'
number = re.compile(r'-?[0-9]+(?:\.[0-9]+)?')

root = ET.parse(sys.argv[1]).getroot()
paths = rings_total = opened = holes = wrong_direction = wrong_order = 0
depth_lines = []
for path in root.iter(SVG + 'path'):
    paths += 1
    rings = []
    for sub in re.findall(r'M[^M]*', path.get('d')):
        sub = sub.strip()
        values = [float(v) for v in number.findall(sub)]
        points = [(values[i], -values[i + 1]) for i in range(0, len(values), 2)]
        if not sub.endswith('Z'):
            opened += 1
            continue
        rings.append(points)
    polygons = [Polygon(r) if len(r) >= 3 else None for r in rings]
    depths = []
    for i, ring in enumerate(rings):
        depth = 0
        for j, other in enumerate(polygons):
            if j == i or other is None or polygons[i] is None:
                continue
            if other.area > polygons[i].area and other.covers(polygons[i]):
                depth += 1
                if j < i:  # a ring that holds this one was cut first
                    wrong_order += 1
        depths.append(depth)
        if len(ring) >= 3:
            ccw = LinearRing(ring).is_ccw
            if ccw != (depth % 2 == 0):
                wrong_direction += 1
        holes += depth % 2
    rings_total += len(rings)
    depth_lines.append(','.join(str(d) for d in depths))
print('paths', paths, 'rings', rings_total, 'open', opened, 'holes', holes,
      'wrong_direction', wrong_direction, 'wrong_order', wrong_order)
for line in depth_lines:
    print('depths', line)
