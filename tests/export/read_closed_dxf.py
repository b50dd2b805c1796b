#!/usr/bin/python3
"""Reads a closed-polyline DXF with ezdxf (its strict readfile, then audit) and prints what an
independent reader sees, one fact per line:
  version AC1009 | insunits 4 | measurement 1 | extmin X Y Z | extmax X Y Z | layers 0 cut
  audit <errors> <fixes>   then one line per error or fix: "error <code> <message>"
  entity <type> <layer> <flags> <closed 0|1> <elevation> <vertex count>
  vertex X Y Z              (every vertex of the entity above, Python repr of the floats)
Usage: read_closed_dxf.py FILE
"""
import sys

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
header = doc.header
print('version', doc.dxfversion)
print('insunits', header.get('$INSUNITS', 'none'))
print('measurement', header.get('$MEASUREMENT', 'none'))
for name in ('$EXTMIN', '$EXTMAX'):
    print(name[1:].lower(), ' '.join(repr(float(v)) for v in header.get(name, (0, 0, 0))))
# ezdxf adds its own "Defpoints" layer while loading; it is not in the file.
print('layers', ' '.join(sorted(layer.dxf.name for layer in doc.layers
                                if layer.dxf.name != 'Defpoints')))
print('audit', len(auditor.errors), len(auditor.fixes))
for e in auditor.errors:
    print('error', e.code, e.message)
for f in auditor.fixes:
    print('fix', f.code, f.message)
for e in doc.modelspace():
    kind = e.dxftype()
    if kind == 'POLYLINE':
        points = [tuple(v.dxf.location) for v in e.vertices]
        closed = e.is_closed
        elevation = e.dxf.elevation[2]
    elif kind == 'LWPOLYLINE':
        elevation = e.dxf.elevation
        points = [(x, y, elevation) for x, y in e.get_points('xy')]
        closed = e.closed
    else:
        print('entity', kind, e.dxf.layer, 0, 0, 0, 0)
        continue
    print('entity', kind, e.dxf.layer, e.dxf.flags, int(closed), repr(float(elevation)),
          len(points))
    for p in points:
        print('vertex', ' '.join(repr(float(v)) for v in p))
