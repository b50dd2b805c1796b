"""Text on a path against two independent placements of the same text, face and size: Inkscape's
own text on a path (an SVG <textPath> turned into outlines by --export-text-to-path), and a
stand-in set here by the rule every text-on-path follows (each glyph rigid, its advance's middle
on the path at its arc length, turned to the path's direction there) from fontTools outlines,
hb-shape advances and a path sampled densely. The glyph regions must agree with each within a
Hausdorff distance (shapely) on a straight slope, a cubic wave and a circular arc (Inkscape
draws the arc as Beziers, a few hundredths off the circle).

Usage: check_path_layout.py KERFLINE_CONVERT WORK_FOLDER. Prints one line per failure.
"""
import json
import math
import os
import subprocess
import sys

import xml.etree.ElementTree as ElementTree

import ezdxf
from fontTools.pens.basePen import BasePen
from fontTools.svgLib.path import parse_path
from fontTools.ttLib import TTFont
from shapely.geometry import Polygon

exe, work = sys.argv[1], sys.argv[2]
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
TEXT = "Kerfline Wave"
SIZE = 36
OFFSET = 4.0
# Letters turned to the path's true direction: one that kept each of its chords' directions
# turned them up to half a chord's turn off (0.02-0.03 here).
STAND_IN_LIMIT = 0.01
failures = []


class FlatPen(BasePen):
    """Glyph contours as polygons, curves cut into 64 chords each."""

    def __init__(self, glyph_set):
        super().__init__(glyph_set)
        self.rings, self.ring = [], []

    def _moveTo(self, p):
        self.ring = [p]

    def _lineTo(self, p):
        self.ring.append(p)

    def _curveToOne(self, p1, p2, p3):
        p0 = self.ring[-1]
        for i in range(1, 65):
            t = i / 64
            u = 1 - t
            self.ring.append(tuple(u**3 * a + 3 * u * u * t * b + 3 * u * t * t * c + t**3 * d
                                   for a, b, c, d in zip(p0, p1, p2, p3)))

    def _qCurveToOne(self, p1, p2):
        p0 = self.ring[-1]
        for i in range(1, 65):
            t = i / 64
            u = 1 - t
            self.ring.append(tuple(u * u * a + 2 * u * t * b + t * t * c for a, b, c in zip(p0, p1, p2)))

    def _closePath(self):
        if len(self.ring) > 2:
            self.rings.append(self.ring)
        self.ring = []


def sampled(segments, n=4000):
    """The path (SVG's Y down turned up) as dense points with their arc lengths."""
    points = [segments[0](0.0)]
    for f in segments:
        points += [f(i / n) for i in range(1, n + 1)]
    points = [(x, -y) for x, y in points]
    lengths = [0.0]
    for a, b in zip(points, points[1:]):
        lengths.append(lengths[-1] + math.dist(a, b))
    return points, lengths


def at(path, s):
    points, lengths = path
    lo, hi = 0, len(lengths) - 1
    while hi - lo > 1:
        mid = (lo + hi) // 2
        if lengths[mid] <= s:
            lo = mid
        else:
            hi = mid
    a, b = points[lo], points[hi]
    t = (s - lengths[lo]) / (lengths[hi] - lengths[lo])
    d = math.dist(a, b)
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t), ((b[0] - a[0]) / d, (b[1] - a[1]) / d)


def cubic(p0, p1, p2, p3):
    return lambda t: tuple((1 - t)**3 * a + 3 * (1 - t)**2 * t * b + 3 * (1 - t) * t * t * c + t**3 * d
                           for a, b, c, d in zip(p0, p1, p2, p3))


def line(p0, p1):
    return lambda t: (p0[0] + (p1[0] - p0[0]) * t, p0[1] + (p1[1] - p0[1]) * t)


def arc(cx, cy, r, a0, a1):
    return lambda t: (cx + r * math.cos(a0 + (a1 - a0) * t), cy + r * math.sin(a0 + (a1 - a0) * t))


def region(rings):
    r = Polygon()
    for ring in rings:
        r = r.symmetric_difference(Polygon(ring).buffer(0))
    return r


font = TTFont(FONT)
upem = font["head"].unitsPerEm
glyph_set = font.getGlyphSet()
order = font.getGlyphOrder()
# Drawing units per font unit: an em of 1365 outline units, 0.18 drawing units per outline unit
# at a UnitScale of size / 1000 (scale 100).
k = 1365 / upem * 0.18 * SIZE / 1000
# Optional ligatures off, as Kerfline sets text unless asked (no "fl" glyph).
shaped = json.loads(subprocess.run(["hb-shape", "--font-file", FONT, "--output-format=json",
                                    "--no-glyph-names", "--features=-liga,-clig,-dlig", TEXT], capture_output=True, text=True,
                                   check=True).stdout)


def stand_in(path):
    rings, pen_x = [], 0.0
    for g in shaped:
        advance = g["ax"] * k
        middle = pen_x + advance / 2
        (px, py), (tx, ty) = at(path, OFFSET + middle)
        pen = FlatPen(glyph_set)
        glyph_set[order[g["g"]]].draw(pen)
        for ring in pen.rings:
            placed = []
            for gx, gy in ring:
                dx = (gx + g["dx"]) * k - advance / 2
                dy = (gy + g["dy"]) * k
                placed.append((px + dx * tx - dy * ty, py + dx * ty + dy * tx))
            rings.append(placed)
        pen_x += advance
    return region(rings)


def inkscape(data):
    """Inkscape's outlines of TEXT on the path data (SVG user units are drawing units; the em
    is k font units' worth), Y turned up as the drawing's."""
    source = os.path.join(work, "textpath.svg")
    target = os.path.join(work, "textpath-outlines.svg")
    with open(source, "w", encoding="utf-8") as f:
        f.write('<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
                'width="400" height="400"><defs><path id="p" d="%s"/></defs>'
                '<text style="font-family:\'DejaVu Sans\';font-size:%.17gpx;font-variant-ligatures:none">'
                '<textPath xlink:href="#p" startOffset="%.17g">%s</textPath></text></svg>'
                % (data, k * upem, OFFSET, TEXT))
    subprocess.run(["inkscape", "--export-text-to-path", "--export-plain-svg", "-o", target, source],
                   capture_output=True, check=True)
    ns = "{http://www.w3.org/2000/svg}"
    rings = []
    for group in ElementTree.parse(target).getroot().iter(ns + "g"):
        for element in group.iter(ns + "path"):
            if "transform" in element.attrib or "transform" in group.attrib:
                failures.append("Inkscape wrote a transform this check does not follow")
            pen = FlatPen(None)
            parse_path(element.attrib["d"], pen)
            rings += [[(x, -y) for x, y in ring] for ring in pen.rings]
    return region(rings)


cases = [
    ("slope", "M 0 0 L 120 -90", [line((0, 0), (120, -90))], 0.05),
    ("cubic wave", "M 0 0 C 40 -40 80 -40 120 0 S 200 40 240 0",
     [cubic((0, 0), (40, -40), (80, -40), (120, 0)), cubic((120, 0), (160, 40), (200, 40), (240, 0))],
     0.05),
    # A half circle of radius 120 over the top, clockwise as read (sweep 1 in SVG's Y).
    ("circular arc", "M -120 0 A 120 120 0 0 1 120 0",
     [arc(0, 0, 120, math.pi, 2 * math.pi)], 0.08),
]
for name, data, segments, limit in cases:
    out = os.path.join(work, "path.dxf")
    r = subprocess.run([exe, "--text", TEXT, "--font", "DejaVu Sans", "--size", str(SIZE),
                        "--spacing", "font", "--resolution", "20", "--path", data,
                        "--path-offset", str(OFFSET), "-f", "closed", "--dxf-version", "2000",
                        "-o", out], capture_output=True, text=True)
    if r.returncode != 0:
        failures.append(f"{name}: exit {r.returncode}: {r.stderr}")
        continue
    got = region([[tuple(p[:2]) for p in e.get_points("xy")]
                  for e in ezdxf.readfile(out).modelspace().query("LWPOLYLINE")])
    # The stand-in follows the same rule from the same outlines, only its chords are finer: it
    # must agree far closer than Inkscape, whose letters' turn and arc differ a little.
    for reference, placed, most in (("Inkscape", inkscape(data), limit),
                                    ("stand-in", stand_in(sampled(segments)), STAND_IN_LIMIT)):
        apart = got.hausdorff_distance(placed)
        print(f"{name} against {reference}: {apart:.4f}")
        if not apart < most:
            failures.append(f"{name} against {reference}: Hausdorff distance {apart:.4f} (limit {most})")

for f in failures:
    print(f)
sys.exit(1 if failures else 0)
