#!/usr/bin/python3
"""A stencil as the sheet sees it (ezdxf, shapely). Usage: check_stencil.py FILE KERF WIDTH
FILE is a closed-form DXF of text cut out of a sheet. The cut is the area the tool paths
enclose (even-odd) grown by half the kerf. Prints: "<pieces of the sheet> <pieces once every
neck narrower than WIDTH is cut> <paths>"; the second opens the sheet by just under WIDTH, so a
bridge narrower than WIDTH (or an island hanging on one) makes it larger than the first."""
import sys

import ezdxf
from shapely.geometry import Polygon, box
from shapely.ops import unary_union

path, kerf, width = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
rings = []
for e in ezdxf.readfile(path).modelspace():
    if e.dxftype() == 'POLYLINE':
        rings.append(Polygon([tuple(v.dxf.location)[:2] for v in e.vertices]).buffer(0))
    elif e.dxftype() == 'LWPOLYLINE':
        rings.append(Polygon(list(e.get_points('xy'))).buffer(0))
area = Polygon()
for r in rings:
    area = area.symmetric_difference(r)
cut = area.buffer(kerf / 2)
x0, y0, x1, y1 = cut.bounds
sheet = box(x0 - 5, y0 - 5, x1 + 5, y1 + 5).difference(cut)
pieces = lambda g: len([p for p in getattr(g, 'geoms', [g]) if p.area > 1e-9])
r = width * 0.49
print(pieces(sheet), pieces(sheet.buffer(-r).buffer(r)), len(rings))
