#!/usr/bin/python3
"""Items laid out on sheets, as independent readers see them: each closed-polyline DXF read
with ezdxf, its rings made polygons by shapely. Usage: check_sheets.py W H GAP FILE...
Prints one line per file: "<items> <inside 0|1> <extmax inside 0|1>". Items are the pieces
left when every ring is grown by just under half the gap and the rings unite: two items closer
than the gap (or overlapping) would be counted as one. Inside: every vertex within the sheet
from (0, 0) to (W, H), and the header's extent too."""
import sys

import ezdxf
from shapely.geometry import Polygon
from shapely.ops import unary_union

width, height, gap = (float(v) for v in sys.argv[1:4])
SLACK = 1e-6
for path in sys.argv[4:]:
    doc = ezdxf.readfile(path)
    rings = []
    inside = True
    for e in doc.modelspace():
        if e.dxftype() == 'POLYLINE':
            points = [tuple(v.dxf.location)[:2] for v in e.vertices]
        elif e.dxftype() == 'LWPOLYLINE':
            points = list(e.get_points('xy'))
        else:
            continue
        for x, y in points:
            inside &= -SLACK <= x <= width + SLACK and -SLACK <= y <= height + SLACK
        if len(points) >= 3:
            rings.append(Polygon(points).buffer(0))
    grown = unary_union([r.buffer(gap * 0.49) for r in rings])
    items = len(getattr(grown, 'geoms', [grown])) if not grown.is_empty else 0
    lo, hi = doc.header.get('$EXTMIN'), doc.header.get('$EXTMAX')
    header_inside = lo[0] >= -SLACK and lo[1] >= -SLACK and hi[0] <= width + SLACK and hi[1] <= height + SLACK
    print(items, int(inside), int(header_inside))
