#!/usr/bin/python3
"""Checks a filled-letters G-code program against the letters of the same text written as an
SVG profile (shapely). The program is read twice, by the npm interpreter (tests/gcode) and by
LinuxCNC's rs274; both readings must agree and pass.

Usage: check_fill.py hatch OUTLINE.svg FILL.nc INTERVAL ANGLE CROSS(0|1) OVERSCAN
       check_fill.py pocket OUTLINE.svg FILL.nc TOOL_DIAMETER
       check_fill.py raised OUTLINE.svg FILL.nc TOOL_DIAMETER MARGIN
       check_fill.py offset OUTLINE.svg FILL.nc
       check_fill.py dxf-hatch OUTLINE.svg FILL.dxf INTERVAL ANGLE
       check_fill.py offset-arcs OUTLINE.svg FILE(.nc|.dxf|.svg) FIRST SPACING TOLERANCE [MARGIN]
       check_fill.py travel - FILL.nc      (the XY length of the rapid moves)
The pocket's area is the letters (holes are islands); raised letters clear the letters' box
grown by the margin, less the letters.
Prints "name value" lines, one per measure, for each reader ("npm." or "rs274." before it;
"dxf." for a hatch read from a DXF by ezdxf, whose LINEs must match the pieces shapely cuts
from each row).
Moves that mark the work: a laser's G1 with M4 and S above 0; a router's G1 below Z 0.
"""
import math
import re
import subprocess
import sys

from shapely.geometry import LineString, Point, Polygon, box
from shapely.ops import unary_union

import check_arcs
import rs274  # noqa: E402 (tests/support, which check_arcs puts on the path)

GCODE_CHECK = sys.path[0] + "/../gcode/check_gcode.js"
# Four decimals in the file: a point may lie up to half a step from where it was meant, on
# each axis; the outline from the SVG is single precision.
ROUNDING = 1e-4
# Arcs are read as chords that stray from them by at most a fiftieth of this.
ARC_SAMPLING = 1e-5


def npm_moves(path):
    out = subprocess.run(["node", GCODE_CHECK, path], check=True, capture_output=True, text=True).stdout
    moves, power = [], 0.0
    for line in out.splitlines():
        w = line.split()
        if w[0] == "code" and w[1].startswith("S"):
            power = float(w[1][1:])
        if w[0] not in ("move", "arc"):
            continue
        a = (float(w[4]), float(w[5]), float(w[6]))
        b = (float(w[7]), float(w[8]), float(w[9]))
        if w[0] == "arc":
            centre = (float(w[10]), float(w[11]))
            moves += arc_moves(a, b, centre, w[1] == "G3", w[2] == "M4", power)
        else:
            moves.append((w[1] == "G1", w[2] == "M4", power, a, b))
    return moves


def arc_moves(a, b, centre, ccw, m4, power):
    """An arc feed as short feed moves (chords within a tenth of a micrometre), in its plane."""
    points = check_arcs.arc_from_centre(a[:2], b[:2], centre, ccw, ARC_SAMPLING)
    points = [a] + [(x, y, a[2]) for x, y in points[1:-1]] + [b]
    return [(True, m4, power, p, q) for p, q in zip(points, points[1:])]


def rs274_moves(path):
    out = rs274.run(path, check=True, capture_output=True, text=True).stdout
    if "error" in out.lower():
        raise SystemExit("rs274 refused the program:\n" + out)
    moves, power, on, at = [], 0.0, False, (0.0, 0.0, 0.0)
    for line in out.splitlines():
        m = re.search(r"(STRAIGHT_FEED|STRAIGHT_TRAVERSE|ARC_FEED|SET_SPINDLE_SPEED"
                      r"|START_SPINDLE_COUNTERCLOCKWISE|STOP_SPINDLE_TURNING)\(([^)]*)\)", line)
        if not m:
            continue
        kind, args = m.group(1), [float(v) for v in m.group(2).split(",") if v.strip()]
        if kind == "SET_SPINDLE_SPEED":
            power = args[1]
        elif kind == "START_SPINDLE_COUNTERCLOCKWISE":
            on = True
        elif kind == "STOP_SPINDLE_TURNING":
            on = False
        elif kind == "ARC_FEED":
            b = (args[0], args[1], args[5])
            moves += arc_moves(at, b, (args[2], args[3]), args[4] > 0, on, power)
            at = b
        else:
            b = tuple(args[:3])
            moves.append((kind == "STRAIGHT_FEED", on, power, at, b))
            at = b
    return moves


def marks(moves, laser):
    """The moves that mark the work, as XY segments, and the feed moves that do not."""
    marking, dry = [], []
    for feed, m4, power, a, b in moves:
        if not feed or (a[0], a[1]) == (b[0], b[1]):
            continue
        seg = ((a[0], a[1]), (b[0], b[1]))
        on = (m4 and power > 0) if laser else (a[2] < 1e-9 and b[2] < 1e-9)
        (marking if on else dry).append(seg)
    return marking, dry


def svg_letters(path):
    """The letters: every closed subpath of the SVG profile, by the even-odd rule, in drawing
    units (the SVG's Y runs down: it is turned back)."""
    text = open(path, encoding="utf-8").read()
    region = Polygon()
    for d in re.findall(r' d="([^"]*)"', text):
        for piece in d.split("M")[1:]:
            nums = [float(v) for v in piece.replace("Z", " ").replace("L", " ").split()]
            pts = [(x, -y) for x, y in zip(nums[0::2], nums[1::2])]
            if len(pts) >= 3:
                region = region.symmetric_difference(Polygon(pts).buffer(0))
    return region


def outside_length(segments, area):
    grown = area.buffer(ROUNDING)
    return sum(LineString(s).difference(grown).length for s in segments)


def check_hatch(letters, marking, dry, interval, angle, cross, overscan):
    out = {"lines": len(marking), "outside": outside_length(marking, letters)}
    # Each line lies at a whole number of intervals from the origin, across its direction.
    worst_row, worst_angle, seen = 0.0, 0.0, set()
    for (x1, y1), (x2, y2) in marking:
        length = math.hypot(x2 - x1, y2 - y1)
        if length < 0.5:  # too short for its direction to survive the rounding
            continue
        best = None
        for k, a in enumerate([angle, angle + 90] if cross else [angle]):
            r = math.radians(a)
            # angle between the line and the direction, modulo a half turn
            turn = abs(math.sin(math.atan2(y2 - y1, x2 - x1) - r))
            t = -math.sin(r) * (x1 + x2) / 2 + math.cos(r) * (y1 + y2) / 2
            row = abs(t / interval - round(t / interval)) * interval
            if best is None or turn < best[0]:
                best = (turn, row, k)
        worst_angle = max(worst_angle, best[0])
        worst_row = max(worst_row, best[1])
        seen.add(best[2])
    out["row_error"] = worst_row
    out["direction_error"] = worst_angle
    out["directions"] = len(seen)
    # Every point of the letter farther than I/2 from its edge lies within I/2 of a line.
    inner = letters.buffer(-interval / 2)
    cover = unary_union([LineString(s).buffer(interval / 2 + ROUNDING, cap_style=2) for s in marking])
    out["uncovered"] = inner.difference(cover).area
    out["overscan_moves"] = sum(1 for a, b in dry if abs(math.dist(a, b) - overscan) < 1e-3) if overscan else 0
    return out


def check_pocket(area, marking, tool):
    """How far the tool's discs reach beyond the area (islands and letters kept are outside
    it), and how much of what the tool can reach (the area opened by its disc) they cover."""
    swept = unary_union([LineString(s).buffer(tool / 2, resolution=32) for s in marking])
    beyond = swept.difference(area)
    # The vertices of a buffered disc lie on the true circle: their distance is exact.
    depth = max((area.distance(Point(v)) for g in getattr(beyond, "geoms", [beyond])
                 if not g.is_empty for v in g.exterior.coords), default=0.0)
    reach = area.buffer(-tool / 2).buffer(tool / 2, resolution=32)
    return {"gouge": depth,
            "covered": swept.intersection(reach).area / reach.area if reach.area else 1.0}


def check_offsets(letters, moves):
    """Offset fill: every beam-on run a closed ring inside the letters."""
    runs, current = [], None
    for feed, m4, power, a, b in moves:
        if feed and m4 and power > 0:
            if current is None:
                current = [a[:2]]
            current.append(b[:2])
        elif current is not None:
            runs.append(current)
            current = None
    if current is not None:
        runs.append(current)
    segments = [(r[i], r[i + 1]) for r in runs for i in range(len(r) - 1)]
    return {"runs": len(runs), "open_runs": sum(1 for r in runs if r[0] != r[-1]),
            "outside": outside_length(segments, letters)}


def row_pieces(letters, interval, angle):
    """How many pieces the rows at whole intervals across the direction cut from the letters."""
    r = math.radians(angle)
    d, n = (math.cos(r), math.sin(r)), (-math.sin(r), math.cos(r))
    x0, y0, x1, y1 = letters.bounds
    reach = math.hypot(x1 - x0, y1 - y0) + abs(x0) + abs(y0) + abs(x1) + abs(y1)
    pieces = 0
    for k in range(math.floor(-reach / interval), math.ceil(reach / interval) + 1):
        c = (n[0] * k * interval, n[1] * k * interval)
        row = LineString([(c[0] - reach * d[0], c[1] - reach * d[1]),
                          (c[0] + reach * d[0], c[1] + reach * d[1])])
        if not row.intersects(letters):
            continue
        cut = row.intersection(letters)
        pieces += sum(1 for g in getattr(cut, "geoms", [cut]) if g.geom_type == "LineString" and g.length > 0)
    return pieces


def check_dxf_hatch(letters, path, interval, angle):
    import ezdxf
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    lines = [((e.dxf.start.x, e.dxf.start.y), (e.dxf.end.x, e.dxf.end.y))
             for e in doc.modelspace().query("LINE")]
    result = check_hatch(letters, lines, [], interval, angle, False, 0)
    result.update({"audit_errors": len(auditor.errors) + len(auditor.fixes),
                   "other_entities": len(doc.modelspace()) - len(lines),
                   "row_pieces": row_pieces(letters, interval, angle)})
    return result


def gcode_arcs(path, tolerance):
    """The arcs of a program as both interpreters read them, sampled; and how many feed moves
    (lines and arcs) each reads."""
    out = subprocess.run(["node", GCODE_CHECK, path], check=True, capture_output=True, text=True).stdout
    npm, npm_feeds = [], 0
    for line in out.splitlines():
        w = line.split()
        if w[0] == "move" and w[1] == "G1":
            npm_feeds += 1
        if w[0] != "arc":
            continue
        npm_feeds += 1
        a, b, c = (float(w[4]), float(w[5])), (float(w[7]), float(w[8])), (float(w[10]), float(w[11]))
        npm.append(check_arcs.arc_from_centre(a, b, c, w[1] == "G3", tolerance))
    out = rs274.run(path, check=True, capture_output=True, text=True).stdout
    rs, rs_feeds, at = [], 0, (0.0, 0.0)
    for m in re.finditer(r"(STRAIGHT_FEED|STRAIGHT_TRAVERSE|ARC_FEED)\(([^)]*)\)", out):
        args = [float(v) for v in m.group(2).split(",")]
        b = (args[0], args[1])
        if m.group(1) == "ARC_FEED":
            rs.append(check_arcs.arc_from_centre(at, b, (args[2], args[3]), args[4] > 0, tolerance))
        rs_feeds += m.group(1) != "STRAIGHT_TRAVERSE"
        at = b
    return {"npm": (npm, npm_feeds), "rs274": (rs, rs_feeds)}


def offset_error(area, paths, first, spacing):
    """The largest distance of a path point from the inward offset (round joins, by shapely) of
    the area at first + k spacing, k the nearest whole step to the point's own depth."""
    boundary, rings, worst = area.boundary, {}, 0.0
    for path in paths:
        for p in path:
            q = Point(p)
            k = max(0, round((boundary.distance(q) - first) / spacing))
            if k not in rings:
                rings[k] = area.buffer(-(first + k * spacing), resolution=256).boundary
            worst = max(worst, rings[k].distance(q) if not rings[k].is_empty else math.inf)
    return worst


def check_offset_arcs(area, path, first, spacing, tolerance):
    """Offsets fitted with arcs, read by each reader of the file's form: every arc on its
    offset; the G-code's arcs only (its links are no offset), every path of a DXF or SVG."""
    if path.endswith(".nc"):
        readings = gcode_arcs(path, tolerance)
    else:
        read = check_arcs.dxf_paths if path.endswith(".dxf") else check_arcs.svg_paths
        paths, lines, arcs, _, _ = read(path, tolerance)
        readings = {path.rsplit(".", 1)[1]: (paths, lines + arcs, arcs)}
    results = {}
    for name, reading in readings.items():
        paths, pieces = reading[0], reading[1]
        arcs = reading[2] if len(reading) > 2 else len(paths)
        results[name] = {"arcs": arcs, "pieces": pieces,
                         "arc_error": offset_error(area, paths, first, spacing)}
    return results


def rapid_travel(moves):
    return sum(math.dist(a[:2], b[:2]) for feed, _, _, a, b in moves if not feed)


def main():
    mode, outline, program = sys.argv[1:4]
    if mode == "travel":
        for name, read in (("npm", npm_moves), ("rs274", rs274_moves)):
            print(f"{name}.travel {rapid_travel(read(program)):.9g}")
        return
    letters = svg_letters(outline)
    if mode == "offset-arcs":
        first, spacing, tolerance = map(float, sys.argv[4:7])
        area = letters
        if len(sys.argv) > 7:
            margin = float(sys.argv[7])
            x0, y0, x1, y1 = letters.bounds
            area = box(x0 - margin, y0 - margin, x1 + margin, y1 + margin).difference(letters)
        for name, result in check_offset_arcs(area, program, first, spacing, tolerance).items():
            for key, value in result.items():
                print(f"{name}.{key} {value:.9g}")
        return
    if mode == "dxf-hatch":
        interval, angle = map(float, sys.argv[4:6])
        for key, value in check_dxf_hatch(letters, program, interval, angle).items():
            print(f"dxf.{key} {value:.9g}")
        return
    laser = mode in ("hatch", "offset")
    for name, read in (("npm", npm_moves), ("rs274", rs274_moves)):
        moves = read(program)
        marking, dry = marks(moves, laser)
        if mode == "offset":
            result = check_offsets(letters, moves)
        elif mode == "hatch":
            interval, angle, cross, overscan = map(float, sys.argv[4:8])
            result = check_hatch(letters, marking, dry, interval, angle, cross > 0, overscan)
        else:
            tool = float(sys.argv[4])
            area = letters
            if mode == "raised":
                margin = float(sys.argv[5])
                x0, y0, x1, y1 = letters.bounds
                area = box(x0 - margin, y0 - margin, x1 + margin, y1 + margin).difference(letters)
            result = check_pocket(area, marking, tool)
        for key, value in result.items():
            print(f"{name}.{key} {value:.9g}")


if __name__ == "__main__":
    main()
