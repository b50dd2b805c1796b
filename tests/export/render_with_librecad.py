#!/usr/bin/python3
"""Has LibreCAD, a CAD program of its own, print a DXF fitted to a page (its dxf2pdf tool),
rasterises the page with pdftoppm and prints what it drew next to what ezdxf reads:
  ink LEFT TOP RIGHT BOTTOM    the box of every dark pixel, at 150 dpi (nothing drawn: "ink none")
  extent MINX MINY MAXX MAXY   the XY extent of every point of every entity, read by ezdxf
Usage: render_with_librecad.py FILE
"""
import os
import shutil
import subprocess
import sys
import tempfile

import ezdxf
from PIL import Image, ImageOps

dxf = os.path.abspath(sys.argv[1])
with tempfile.TemporaryDirectory() as work:
    env = dict(os.environ, QT_QPA_PLATFORM='offscreen', HOME=work, XDG_RUNTIME_DIR=work)
    # dxf2pdf prints each file to a PDF of the same name beside it.
    copy = os.path.join(work, 'page.dxf')
    shutil.copyfile(dxf, copy)
    pdf = os.path.join(work, 'page.pdf')
    subprocess.run(['librecad', 'dxf2pdf', '-a', '-m', copy], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    subprocess.run(['pdftoppm', '-r', '150', '-gray', '-png', '-singlefile', pdf,
                    os.path.join(work, 'page')], check=True, timeout=120)
    page = Image.open(os.path.join(work, 'page.png')).convert('L')
    box = ImageOps.invert(page).point(lambda v: 255 if v > 128 else 0).getbbox()
    print('ink', 'none' if box is None else '%d %d %d %d' % box)

points = []
for e in ezdxf.readfile(dxf).modelspace():
    kind = e.dxftype()
    if kind == 'LINE':
        points += [e.dxf.start, e.dxf.end]
    elif kind == 'POLYLINE':
        points += [v.dxf.location for v in e.vertices]
    elif kind == 'LWPOLYLINE':
        points += [(x, y) for x, y in e.get_points('xy')]
xs = [p[0] for p in points]
ys = [p[1] for p in points]
print('extent', repr(min(xs)), repr(min(ys)), repr(max(xs)), repr(max(ys)))
