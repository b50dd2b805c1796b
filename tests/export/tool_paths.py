#!/usr/bin/python3
"""Replays a "Lines + Z moves" DXF, read with ezdxf, as the machine would: a vertical LINE
going down is a plunge, one going up a retract, and the LINEs between are one tool path.
Prints one line per path: "PATH <segments> <open|closed> <min x> <max x> <min y> <max y>"
(a path of no segment is a dot, its extent the plunge point), then one line per fault:
"FAULT <what>" (a plunge while down, a retract while up, a cut while up, a segment that does
not start where the previous one ended, a file that ends with the tool down).
Usage: tool_paths.py FILE
"""
import sys

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
down = False
paths = []
faults = []
for e in doc.modelspace():
    if e.dxftype() != 'LINE':
        faults.append('entity ' + e.dxftype())
        continue
    s, t = e.dxf.start, e.dxf.end
    if s.x == t.x and s.y == t.y and s.z != t.z:
        if t.z < s.z:
            if down:
                faults.append('plunge while down')
            down = True
            paths.append({'at': (s.x, s.y), 'segments': []})
        else:
            if not down:
                faults.append('retract while up')
            down = False
        continue
    if not down:
        faults.append('cut while up')
        continue
    segs = paths[-1]['segments']
    if segs and (segs[-1][2], segs[-1][3]) != (s.x, s.y):
        faults.append('segment does not continue its path')
    segs.append((s.x, s.y, t.x, t.y))
if down:
    faults.append('ends with the tool down')
for p in paths:
    segs = p['segments']
    pts = [p['at']] + [(g[2], g[3]) for g in segs]
    closed = bool(segs) and (segs[-1][2], segs[-1][3]) == (segs[0][0], segs[0][1])
    xs = [q[0] for q in pts]
    ys = [q[1] for q in pts]
    print('PATH %d %s %r %r %r %r' % (len(segs), 'closed' if closed else 'open',
                                       min(xs), max(xs), min(ys), max(ys)))
for f in faults:
    print('FAULT ' + f)
