#!/usr/bin/python3
"""How far the paths of a file of one character lie from that glyph's true curves.

Usage: check_arcs.py dxf|gcode|svg FILE FONT_FILE FONT_INDEX CODE_POINT SCALE TOLERANCE
Each reader is independent of the program: ezdxf reads the DXF (bulges through its own
bulge_to_arc), the npm interpreter in tests/gcode and LinuxCNC's rs274 read the G-code, and
the SVG is drawn by rsvg-convert and its arcs taken by SVG's own
endpoint-to-centre rule. Every arc is
sampled densely; shapely measures the Hausdorff distance between all paths and the glyph's
contours, which fontTools reads and glyph_reference.py samples densely (SCALE: file units per
font unit; the character stands at the origin; "SCALE@A,B": then shaped as a sign's stretch
and slant shape it, x' = A x + B y; "fit:W": the glyph's exact bounds, as fontTools'
BoundsPen finds them, scaled to width W with their lower left corner at the origin, as a fit
box anchored bottom left whose width binds puts them; "SCALE+D": its region grown by D, as an
outside kerf of 2 D moves the path). Prints one line:
    hausdorff D lines L arcs A radius_gap G rs274 R
G is the largest difference of an arc's start and end radius (G-code only), R the exit status
of rs274 followed by its ARC_FEED count (G-code only; "-" otherwise)."""
import math
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import glyph_reference as ref  # noqa: E402
import rs274 as linuxcnc  # noqa: E402
from fontTools.ttLib import TTFont  # noqa: E402
from shapely.geometry import MultiLineString  # noqa: E402

GCODE_CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "gcode", "check_gcode.js")


def arc_points(centre, r, a0, sweep, tolerance):
    """The arc from angle a0 over sweep (radians, signed), chords far inside the tolerance."""
    step = 2 * math.acos(max(-1.0, 1 - tolerance / 50 / r)) if r > tolerance / 50 else math.pi
    n = max(2, int(abs(sweep) / step) + 1)
    return [(centre[0] + r * math.cos(a0 + sweep * k / n), centre[1] + r * math.sin(a0 + sweep * k / n))
            for k in range(n + 1)]


def arc_from_centre(a, b, centre, ccw, tolerance):
    a0 = math.atan2(a[1] - centre[1], a[0] - centre[0])
    a1 = math.atan2(b[1] - centre[1], b[0] - centre[0])
    sweep = a1 - a0
    if ccw and sweep <= 0:
        sweep += 2 * math.pi
    if not ccw and sweep >= 0:
        sweep -= 2 * math.pi
    return arc_points(centre, math.dist(a, centre), a0, sweep, tolerance)


def dxf_paths(path, tolerance):
    import ezdxf
    from ezdxf.math import bulge_to_arc
    paths, lines, arcs = [], 0, 0
    for e in ezdxf.readfile(path).modelspace():
        if e.dxftype() == "LWPOLYLINE":
            verts = [(p[0], p[1], p[2]) for p in e.get_points("xyb")]
            closed = e.closed
        elif e.dxftype() == "POLYLINE":
            verts = [(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge) for v in e.vertices]
            closed = e.is_closed
        else:
            continue
        pieces = len(verts) if closed else len(verts) - 1
        pts = [verts[0][:2]]
        for i in range(pieces):
            a, b, bulge = verts[i][:2], verts[(i + 1) % len(verts)][:2], verts[i][2]
            if bulge == 0:
                lines += 1
                pts.append(b)
                continue
            arcs += 1
            centre, start, end, r = bulge_to_arc(a, b, bulge)
            sweep = (end - start) % (2 * math.pi)
            # ezdxf gives the arc counter-clockwise from start to end; walked from a to b.
            sampled = arc_points(centre, r, start, sweep, tolerance)
            pts += sampled[1:] if bulge > 0 else list(reversed(sampled))[1:]
        paths.append(pts)
    return paths, lines, arcs, "-", "-"


def gcode_paths(path, tolerance):
    out = subprocess.run(["node", GCODE_CHECK, path], check=True, capture_output=True, text=True).stdout
    paths, lines, arcs, gap, cutting = [], 0, 0, 0.0, False
    for line in out.splitlines():
        w = line.split()
        if w[0] not in ("move", "arc"):
            continue
        a, b = (float(w[4]), float(w[5])), (float(w[7]), float(w[8]))
        if w[1] == "G0" or a == b:
            cutting = cutting and w[1] != "G0"
            continue
        if not cutting:
            paths.append([a])
            cutting = True
        if w[0] == "arc":
            arcs += 1
            centre = (float(w[10]), float(w[11]))
            gap = max(gap, abs(math.dist(a, centre) - math.dist(b, centre)))
            paths[-1] += arc_from_centre(a, b, centre, w[1] == "G3", tolerance)[1:]
        else:
            lines += 1
            paths[-1].append(b)
    run = linuxcnc.run(path, capture_output=True, text=True)
    rs274 = "%d %d" % (run.returncode, run.stdout.count("ARC_FEED("))
    return paths, lines, arcs, "%.9g" % gap, rs274


def svg_paths(path, tolerance):
    # librsvg must draw the file (arcs and all) before its numbers are worth measuring.
    subprocess.run(["rsvg-convert", "-o", path + ".png", path], check=True, capture_output=True)
    text = open(path, encoding="utf-8").read()
    paths, lines, arcs = [], 0, 0
    for d in re.findall(r' d="([^"]*)"', text):
        tokens = re.findall(r"[MLAZ]|-?[0-9.]+", d)
        i, current, command = 0, None, None
        while i < len(tokens):
            t = tokens[i]
            # Numbers without a letter repeat the command before them (after M: L), as SVG
            # readers take them.
            if t not in ("M", "L", "A", "Z"):
                if command is None:
                    raise ValueError("numbers before any command")
                tokens.insert(i, command)
                t = command
            if t == "L":
                current = (float(tokens[i + 1]), -float(tokens[i + 2]))
                paths[-1].append(current)
                lines += 1
                command = "L"
                i += 3
            elif t == "M":
                current = (float(tokens[i + 1]), -float(tokens[i + 2]))
                paths.append([current])
                command = "L"
                i += 3
            elif t == "Z":
                lines += paths[-1][0] != current
                paths[-1].append(paths[-1][0])
                current = paths[-1][0]
                i += 1
            elif t == "A":
                r = float(tokens[i + 1])
                large, sweep = tokens[i + 4] == "1", tokens[i + 5] == "1"
                b = (float(tokens[i + 6]), -float(tokens[i + 7]))
                # The centre by the SVG rule, in the file's Y-down frame, then turned back.
                a_down, b_down = (current[0], -current[1]), (b[0], -b[1])
                mx, my = (a_down[0] - b_down[0]) / 2, (a_down[1] - b_down[1]) / 2
                half2 = mx * mx + my * my
                k = math.sqrt(max(0.0, r * r / half2 - 1)) * (-1 if large == sweep else 1)
                cx = k * my + (a_down[0] + b_down[0]) / 2
                cy = -k * mx + (a_down[1] + b_down[1]) / 2
                # sweep 1 turns with growing angle in Y-down: clockwise once Y points up.
                paths[-1] += arc_from_centre(current, b, (cx, -cy), not sweep, tolerance)[1:]
                arcs += 1
                current = b
                command = "A"
                i += 8
    return paths, lines, arcs, "-", "-"


def densified(points, step):
    """The polyline with no edge longer than step: bent point by point, it keeps to the bend."""
    out = [points[0]]
    for a, b in zip(points, points[1:]):
        n = max(1, math.ceil(math.dist(a, b) / step))
        out += [(a[0] + (b[0] - a[0]) * k / n, a[1] + (b[1] - a[1]) * k / n) for k in range(1, n + 1)]
    return out


def main():
    form, path, font_file, index, code, scale, tolerance = sys.argv[1:8]
    tolerance = float(tolerance)
    read = {"dxf": dxf_paths, "gcode": gcode_paths, "svg": svg_paths}[form]
    paths, lines, arcs, gap, rs274 = read(path, tolerance)
    font = TTFont(font_file, fontNumber=int(index))
    glyph = font.getGlyphSet()[font.getBestCmap()[int(code)]]
    pen = ref.PiecePen(font.getGlyphSet())
    glyph.draw(pen)
    dx = dy = 0.0
    shape = (1.0, 0.0)
    warp = None
    grow = None
    if "+" in scale:
        # "SCALE+D": the glyph scaled, its region (even-odd) grown by D with round joins, as an
        # outside kerf of 2 D moves the path.
        scale, grow = scale.split("+")
        grow = float(grow)
    if "~" in scale:
        # "SCALE~R": the glyph scaled, then warped onto a circle of radius |R| about the origin,
        # its ink's left edge at the top (a line of one character aligned left): x runs as arc
        # length, clockwise with y outward for R above 0, counter-clockwise with y inward below.
        scale, warp = scale.split("~")
        warp = float(warp)
    if "@" in scale:
        # "SCALE@A,B": the glyph scaled, then shaped along its lines (x' = A x + B y).
        scale, shape = scale.split("@")
        shape = tuple(float(v) for v in shape.split(","))
    if scale.startswith("fit:"):
        from fontTools.pens.boundsPen import BoundsPen
        bounds = BoundsPen(font.getGlyphSet())
        glyph.draw(bounds)
        x0, y0, x1, _ = bounds.bounds
        scale = float(scale[4:]) / (x1 - x0)
        dx, dy = -x0 * scale, -y0 * scale
    else:
        scale = float(scale)
    # Chords dense enough for the shape's stretch too.
    stretch = math.hypot(shape[0], shape[1]) + 1
    reference = [[(shape[0] * (x + dx) + shape[1] * (y + dy), y + dy)
                  for x, y in ref.flatten(c, lambda p: ref.dense_chords(p, scale * stretch, tolerance), scale)]
                 for c in pen.contours if c]
    if warp is not None:
        left = min(x for r in reference for x, _ in r)
        reference = [[(x - left, y) for x, y in r] for r in reference]
        # A chord of length L bent to radius warp + y strays L^2 (|warp| + |y|) / (8 warp^2).
        outermost = abs(warp) + max(abs(y) for r in reference for _, y in r)
        step = math.sqrt(8 * warp * warp * tolerance / 50 / outermost)
        side = math.copysign(1, warp)
        reference = [[(side * (warp + y) * math.sin(x / warp), side * (warp + y) * math.cos(x / warp))
                      for x, y in densified(r, step)] for r in reference]
    if grow is not None:
        from shapely.geometry import Polygon
        region = Polygon()
        for r in reference:
            region = region.symmetric_difference(Polygon(r))
        grown = region.buffer(grow, resolution=4096)
        rings = [grown] if grown.geom_type == "Polygon" else list(grown.geoms)
        reference = [list(p.exterior.coords) for p in rings] + [
            list(i.coords) for p in rings for i in p.interiors]
    distance = MultiLineString([list(map(tuple, r)) for r in reference]).hausdorff_distance(
        MultiLineString(paths))
    print("hausdorff %.9g lines %d arcs %d radius_gap %s rs274 %s" % (distance, lines, arcs, gap, rs274))


if __name__ == "__main__":
    main()
