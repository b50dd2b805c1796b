#!/usr/bin/python3
"""Reads a DXF file with ezdxf and prints what an independent reader sees in it:
one line "LINE <count> POLYLINE <count> VERTEX <count>", one line of layer names, and
one line "<min x> <min y> <min z> <max x> <max y> <max z>" over every point (repr of floats).
Usage: read_dxf.py FILE
"""
import sys

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
msp = doc.modelspace()
counts = {'LINE': 0, 'POLYLINE': 0, 'VERTEX': 0}
layers = set()
points = []
for e in msp:
    kind = e.dxftype()
    counts[kind] = counts.get(kind, 0) + 1
    layers.add(e.dxf.layer)
    if kind == 'LINE':
        points += [tuple(e.dxf.start), tuple(e.dxf.end)]
    elif kind == 'POLYLINE':
        for v in e.vertices:
            counts['VERTEX'] += 1
            layers.add(v.dxf.layer)
            points.append(tuple(v.dxf.location))
print('LINE %d POLYLINE %d VERTEX %d' % (counts['LINE'], counts['POLYLINE'], counts['VERTEX']))
print(' '.join(sorted(layers)))
if points:
    lo = [min(p[i] for p in points) for i in range(3)]
    hi = [max(p[i] for p in points) for i in range(3)]
    print(' '.join(repr(v) for v in lo + hi))
