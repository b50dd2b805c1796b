#!/usr/bin/python3
"""Reads a carving's DXF or SVG form back with independent readers and compares it.

  check_carve_forms.py dxf CARVE.dxf CARVE.nc
      ezdxf reads the DXF (and audits it); the npm interpreter reads the G-code of the same
      carving. Prints: <entities> <3-D polylines> <audit errors> <points> <largest difference>
      where every entity should be a 3-D POLYLINE and the polylines' vertices, one after the
      other, the points the G-code cuts through (its plunges' and feed moves' ends); points
      closer than 2e-4 to the one before count once (the G-code leaves out a move that
      prints as no move). The difference is infinite when the counts differ.
  check_carve_forms.py svg CARVE.svg OUTLINE.dxf DOTS_PER_MM
      rsvg-convert draws the SVG; the letters come from the outline (closed DXF, read as
      check_carving.py reads it). Prints: <inked share of the letters (more than a pixel
      inside)> <share of the ink farther than a pixel outside the letters>.
"""
import os
import subprocess
import sys
import tempfile

import ezdxf
from PIL import Image, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
INTERPRETER = os.path.join(HERE, '..', 'gcode', 'check_gcode.js')
SAME = 2e-4  # two points this close print alike in one form or the other: counted once


def kept(points):
    out = []
    for p in points:
        if not out or max(abs(a - b) for a, b in zip(p, out[-1])) >= SAME:
            out.append(p)
    return out


def gcode_points(path):
    # Every point the tool cuts through, in order: the end of each plunge and feed move.
    text = subprocess.run(['node', INTERPRETER, path], capture_output=True, text=True,
                          check=True).stdout
    points = []
    for line in text.splitlines():
        v = line.split()
        if v[0] == 'move' and v[1] == 'G1' and float(v[9]) <= 0:
            points.append(tuple(float(t) for t in v[7:10]))
    return kept(points)


def check_dxf(dxf_path, gcode_path):
    doc = ezdxf.readfile(dxf_path)
    errors = len(doc.audit().errors)
    entities = list(doc.modelspace())
    polylines = [e for e in entities if e.dxftype() == 'POLYLINE' and e.is_3d_polyline]
    dxf = kept([tuple(v.dxf.location) for e in polylines for v in e.vertices])
    gcode = gcode_points(gcode_path)
    worst = float('inf') if len(dxf) != len(gcode) else max(
        (max(abs(u - v) for u, v in zip(p, q)) for p, q in zip(dxf, gcode)), default=0.0)
    print(len(entities), len(polylines), errors, len(dxf), repr(worst))


def view_box(svg_path):
    text = open(svg_path, encoding='utf-8').read()
    start = text.index('viewBox="') + len('viewBox="')
    return [float(t) for t in text[start:text.index('"', start)].split()]


def check_svg(svg_path, outline_path, dots_per_mm):
    from check_carving import region_of, rings_of
    with tempfile.TemporaryDirectory() as tmp:
        png = os.path.join(tmp, 'carve.png')
        dpi = str(dots_per_mm * 25.4)
        subprocess.run(['rsvg-convert', '--dpi-x', dpi, '--dpi-y', dpi, '-b', 'white', '-o', png,
                        svg_path], check=True, capture_output=True)
        ink = Image.open(png).convert('L').point(lambda g: 255 if g < 128 else 0)
    left, top, width, height = view_box(svg_path)
    sx, sy = ink.width / width, ink.height / height
    letters = Image.new('L', ink.size, 0)
    draw = ImageDraw.Draw(letters)
    region = region_of(rings_of(outline_path))

    def pixels(ring):
        return [((x - left) * sx, (-y - top) * sy) for x, y in ring.coords]

    for poly in getattr(region, 'geoms', [region]):
        draw.polygon(pixels(poly.exterior), fill=255)
        for hole in poly.interiors:
            draw.polygon(pixels(hole), fill=0)
    # A pixel on the outline is half in, half out, in both pictures: only pixels more than one
    # away from it count, inside and outside alike.
    near = letters.filter(ImageFilter.MaxFilter(3))
    letters = letters.filter(ImageFilter.MinFilter(3))
    ink_px, letter_px, near_px = ink.getdata(), letters.getdata(), near.getdata()
    inked = sum(1 for i, l in zip(ink_px, letter_px) if i and l)
    total_ink = sum(1 for i in ink_px if i)
    outside = sum(1 for i, n in zip(ink_px, near_px) if i and not n)
    letter_total = sum(1 for l in letter_px if l)
    print(repr(inked / max(1, letter_total)), repr(outside / max(1, total_ink)))


def main():
    if sys.argv[1] == 'dxf':
        check_dxf(sys.argv[2], sys.argv[3])
    else:
        check_svg(sys.argv[2], sys.argv[3], float(sys.argv[4]))


main()
