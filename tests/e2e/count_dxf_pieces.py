#!/usr/bin/python3
"""Counts the pieces of the LWPOLYLINE paths of a DXF as ezdxf reads them: a piece leaves
each vertex (the last one too where the path is closed), an arc where that vertex's bulge is
not 0, else a line. Prints "lines L arcs A".
Usage: count_dxf_pieces.py FILE"""
import sys

import ezdxf

lines = arcs = 0
for e in ezdxf.readfile(sys.argv[1]).modelspace().query("LWPOLYLINE"):
    bulges = [b for (_, _, b) in e.get_points("xyb")]
    for b in bulges if e.closed else bulges[:-1]:
        if b != 0:
            arcs += 1
        else:
            lines += 1
print(f"lines {lines} arcs {arcs}")
