#!/usr/bin/python3
"""Checks leads and overcuts with shapely, independently of how they were made.

Input file, one item per line:
  "R <scrap inside 0|1> x y x y ..."  a ring of the drawing
  "L <ring> <entry x> <entry y> x y ..."  a lead of that ring (0-based ring index), from the
      end away from the ring to the end at the ring
  "C <ring> <length> x y ..."  an overcut of that ring and the length asked for it
Prints one line of counts:
  <leads> <not touching their ring at the point given> <not in the scrap>
  <crossing a ring> <overcuts off their ring> <overcuts of the wrong length>
Usage: check_leads.py FILE
"""
import sys

from shapely.geometry import LineString, Point, Polygon
from shapely.ops import substring


def pairs(values):
    return list(zip(values[0::2], values[1::2]))


rings, leads, overcuts = [], [], []
with open(sys.argv[1]) as f:
    for line in f:
        v = line.split()
        if not v:
            continue
        if v[0] == 'R':
            rings.append((v[1] == '1', Polygon(pairs([float(x) for x in v[2:]]))))
        elif v[0] == 'L':
            leads.append((int(v[1]), (float(v[2]), float(v[3])), LineString(pairs([float(x) for x in v[4:]]))))
        else:
            overcuts.append((int(v[1]), float(v[2]), LineString(pairs([float(x) for x in v[3:]]))))

not_touching = wrong_side = crossing = 0
for ring, entry, lead in leads:
    inside, polygon = rings[ring]
    end = Point(lead.coords[-1])
    if end.distance(Point(entry)) > 1e-9 or polygon.exterior.distance(end) > 1e-9:
        not_touching += 1
    # Away from the point where it joins its ring, a lead lies wholly in the scrap, and
    # meets no ring at all.
    free = substring(lead, 0, max(lead.length - 1e-6, 0))
    if (not polygon.contains(free)) if inside else polygon.intersects(free):
        wrong_side += 1
    if any(not p.exterior.disjoint(free) for _, p in rings):
        crossing += 1

off_ring = wrong_length = 0
for ring, asked, cut in overcuts:
    polygon = rings[ring][1]
    if max(polygon.exterior.distance(Point(c)) for c in cut.coords) > 1e-9:
        off_ring += 1
    if abs(cut.length - min(asked, polygon.exterior.length)) > 1e-9:
        wrong_length += 1
print(len(leads), not_touching, wrong_side, crossing, off_ring, wrong_length)
