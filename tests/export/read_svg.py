#!/usr/bin/python3
"""Parses an SVG with Python's XML parser and renders it with rsvg-convert, printing what they
saw, one fact per line:
  size <width> <height>          the width and height attributes as written
  viewbox <x> <y> <w> <h>
  layer <id> <groupmode> <label>   (the label last: it may hold blanks)
  paths <count> closed <closed subpaths> open <open subpaths> points <vertices>
  extent <min x> <min y> <max x> <max y>   over every path vertex, in viewBox units
  png <width> <height> ink <x0> <y0> <x1> <y1>   rendered image and its inked box
Usage: read_svg.py FILE PNG
"""
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

from PIL import Image

SVG = '{http://www.w3.org/2000/svg}'
INKSCAPE = '{http://www.inkscape.org/namespaces/inkscape}'

svg_path, png_path = sys.argv[1], sys.argv[2]
root = ET.parse(svg_path).getroot()
assert root.tag == SVG + 'svg', root.tag
print('size', root.get('width'), root.get('height'))
print('viewbox', root.get('viewBox'))
groups = root.findall(SVG + 'g')
for g in groups:
    print('layer', g.get('id'), g.get(INKSCAPE + 'groupmode'), g.get(INKSCAPE + 'label'))
paths = root.iter(SVG + 'path')
count = closed = opened = vertices = 0
xs, ys = [], []
number = re.compile(r'-?[0-9]+(?:\.[0-9]+)?')
for p in paths:
    count += 1
    d = p.get('d')
    assert 'e' not in d and 'E' not in d, 'exponent form in ' + d
    for sub in re.findall(r'M[^M]*', d):
        sub = sub.strip()
        values = [float(v) for v in number.findall(sub)]
        assert len(values) % 2 == 0, sub
        vertices += len(values) // 2
        xs += values[0::2]
        ys += values[1::2]
        if sub.endswith('Z'):
            closed += 1
        else:
            opened += 1
print('paths', count, 'closed', closed, 'open', opened, 'points', vertices)
if xs:
    print('extent', repr(min(xs)), repr(min(ys)), repr(max(xs)), repr(max(ys)))
subprocess.run(['rsvg-convert', '--width', '800', '--keep-aspect-ratio', '--format', 'png',
                '--output', png_path, svg_path], check=True)
image = Image.open(png_path)
box = image.getchannel('A').getbbox() if image.mode == 'RGBA' else None
print('png', image.width, image.height, 'ink', *(box if box else ('none',)))
