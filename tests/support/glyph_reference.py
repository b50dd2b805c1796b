#!/usr/bin/python3
"""Measures polylines against a glyph's true curves, read independently of the program.

fontTools reads the glyph's quadratic or cubic pieces straight from the font file; each piece
is sampled densely (every sample lies on the curve) and shapely measures the Hausdorff
distance between that reference and the rings under test, contour by contour in the font's
order. It also finds the smallest fixed number of chords per piece whose uniform flattening
stays within the tolerance, and the segments that flattening has.

Input (a file named on the command line), one case after another:
    case FONT_FILE FONT_INDEX CODE_POINT SCALE TOLERANCE
    ring N
    X Y            (N lines)
SCALE is output units per font unit (the program's em scale times its map). One output line
per case: "hausdorff D fixed_chords N fixed_segments S", or "error WHY".
"""
import sys

import numpy

from fontTools.pens.basePen import BasePen
from fontTools.ttLib import TTFont
from shapely.geometry import LineString


def dense_chords(piece, scale, tolerance):
    """Chords enough that each is at most half the tolerance long: a chord c of a curve of
    radius R lies c^2 / (8 R) inside it, under 1/30 of the tolerance where R is above the
    tolerance (no glyph here bends more sharply than that without a corner)."""
    pts = piece[1:]
    length = sum(((b[0] - a[0]) ** 2 + (b[1] - a[1]) ** 2) ** 0.5 for a, b in zip(pts, pts[1:]))
    return max(16, int(length * scale / (tolerance / 2)) + 1)


class PiecePen(BasePen):
    """Collects each contour as a list of pieces: ('line', p0, p1), ('quad', ...), ('cubic', ...)."""

    def __init__(self, glyph_set):
        super().__init__(glyph_set)
        self.contours = []

    def _moveTo(self, p):
        self.contours.append([])
        self.start = p

    def _lineTo(self, p):
        self.contours[-1].append(("line", self._getCurrentPoint(), p))

    def _qCurveToOne(self, p1, p2):
        self.contours[-1].append(("quad", self._getCurrentPoint(), p1, p2))

    def _curveToOne(self, p1, p2, p3):
        self.contours[-1].append(("cubic", self._getCurrentPoint(), p1, p2, p3))

    def _closePath(self):
        current = self._getCurrentPoint()
        if current != self.start:
            self.contours[-1].append(("line", current, self.start))

    _endPath = _closePath


def points_at(piece, n):
    """The piece at t = 0, 1/n, ... 1, scaled later: an (n + 1) x 2 array."""
    t = numpy.linspace(0.0, 1.0, n + 1)[:, None]
    pts = [numpy.array(p, dtype=float) for p in piece[1:]]
    s = 1 - t
    if piece[0] == "line":
        return s * pts[0] + t * pts[1]
    if piece[0] == "quad":
        return s * s * pts[0] + 2 * s * t * pts[1] + t * t * pts[2]
    return s ** 3 * pts[0] + 3 * s * s * t * pts[1] + 3 * s * t * t * pts[2] + t ** 3 * pts[3]


def flatten(contour, chords, scale):
    """The contour with every curve piece cut into chords(piece) equal-parameter chords, scaled."""
    parts = [points_at(p, 1 if p[0] == "line" else chords(p))[:-1] for p in contour]
    out = numpy.concatenate(parts) * scale
    return numpy.concatenate([out, out[:1]])


def segments(contour, chords):
    return sum(1 if piece[0] == "line" else chords for piece in contour)


def piece_error(points, chords):
    """Largest distance of the points from the polyline through chords (numpy arrays)."""
    a, b = chords[:-1], chords[1:]
    ab = b - a
    length2 = numpy.maximum((ab * ab).sum(axis=1), 1e-300)
    ap = points[:, None, :] - a[None, :, :]
    t = numpy.clip((ap * ab[None, :, :]).sum(axis=2) / length2, 0, 1)
    foot = a[None, :, :] + t[:, :, None] * ab[None, :, :]
    return numpy.sqrt(((points[:, None, :] - foot) ** 2).sum(axis=2)).min(axis=1).max()


def hausdorff(reference, rings):
    worst = 0.0
    for ref, ring in zip(reference, rings):
        worst = max(worst, LineString(ref).hausdorff_distance(LineString(ring)))
    return worst


def measure(font_file, font_index, code, scale, tolerance, rings):
    font = TTFont(font_file, fontNumber=font_index)
    name = font.getBestCmap().get(code)
    if name is None:
        return "error no glyph"
    pen = PiecePen(font.getGlyphSet())
    font.getGlyphSet()[name].draw(pen)
    contours = [c for c in pen.contours if c]
    if len(contours) != len(rings):
        return "error %d contours in the font, %d rings" % (len(contours), len(rings))
    reference = [flatten(c, lambda p: dense_chords(p, scale, tolerance), scale) for c in contours]
    closed = [ring + [ring[0]] for ring in rings]
    distance = hausdorff(reference, closed)
    # The fewest fixed chords per piece whose flattening is within the tolerance. The error
    # falls with the chord count as 1 / n^2 (a step or two of wobble aside), so a bisection
    # finds it; each piece is measured against its own chords, which is what the uniform
    # flattening's error is made of.
    dense = [[points_at(p, m) * scale
              for p, m in ((p, dense_chords(p, scale, tolerance)) for p in c if p[0] != "line")]
             for c in contours]
    pieces = [p for c in contours for p in c if p[0] != "line"]
    samples = [d for c in dense for d in c]

    def within(n):
        return all(piece_error(d, points_at(p, n) * scale)
                   <= tolerance for p, d in zip(pieces, samples))

    low, high = 0, 200
    if not within(high):
        high = 0
    else:
        while high - low > 1:
            middle = (low + high) // 2
            low, high = (low, middle) if within(middle) else (middle, high)
    fixed = high
    fixed_segments = sum(segments(c, fixed) for c in contours)
    return "hausdorff %.9g fixed_chords %d fixed_segments %d" % (distance, fixed, fixed_segments)


def main():
    with open(sys.argv[1]) as f:
        lines = [line.split() for line in f if line.strip()]
    i = 0
    while i < len(lines):
        head = lines[i]
        i += 1
        rings = []
        while i < len(lines) and lines[i][0] == "ring":
            n = int(lines[i][1])
            rings.append([(float(x), float(y)) for x, y in lines[i + 1:i + 1 + n]])
            i += 1 + n
        try:
            print(measure(head[1], int(head[2]), int(head[3]), float(head[4]), float(head[5]), rings))
        except Exception as e:  # one bad case must not hide the others' results
            print("error %s" % e)


if __name__ == "__main__":
    main()
