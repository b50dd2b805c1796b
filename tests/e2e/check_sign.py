"""Sign layout checked from outside: kerfline-convert writes closed DXF files, ezdxf reads
them, shapely computes what each transform should give from the plain text.

Usage: check_sign.py KERFLINE_CONVERT WORK_FOLDER. Prints one line per failure; exit 1 on any.
"""
import math
import os
import subprocess
import sys

import ezdxf
from shapely import affinity
from shapely.geometry import Point, Polygon

exe, work = sys.argv[1], sys.argv[2]
failures = []
TEXT = ["--text", "Kerf ABO 8\ngap", "--font", "DejaVu Sans", "--size", "24"]


def convert(name, *options):
    path = os.path.join(work, name)
    r = subprocess.run([exe, *TEXT, "-f", "closed", "--dxf-version", "2000", *options, "-o", path],
                       capture_output=True, text=True)
    return r, path


def rings(path):
    out = []
    for e in ezdxf.readfile(path).modelspace().query("LWPOLYLINE"):
        if not e.closed:
            failures.append(f"{path}: an open contour")
        out.append(Polygon([(p[0], p[1]) for p in e.get_points("xy")]))
    return out


def region(polygons):
    # Even-odd over every ring: letters with their counters.
    r = Polygon()
    for p in polygons:
        r = r.symmetric_difference(p.buffer(0))
    return r


def check(what, ok, detail):
    if not ok:
        failures.append(f"{what}: {detail}")


r, plain_path = convert("plain.dxf")
plain = region(rings(plain_path))


def mirror_x(g): return affinity.scale(g, -1, 1, origin=(0, 0))
def mirror_y(g): return affinity.scale(g, 1, -1, origin=(0, 0))


# Each transform about the anchor, the first line's baseline start (the origin).
cases = [
    (["--mirror", "x"], mirror_x, 1e-9),
    (["--mirror", "y"], mirror_y, 1e-9),
    (["--rotate", "30"], lambda g: affinity.rotate(g, 30, origin=(0, 0)), None),
    (["--slant", "12"], lambda g: affinity.skew(g, xs=12, origin=(0, 0)), None),
    (["--stretch-x", "0.7"], lambda g: affinity.scale(g, 0.7, 1, origin=(0, 0)), None),
    (["--stretch-x", "0.8", "--slant", "-10", "--rotate", "-20", "--mirror", "x"],
     lambda g: affinity.rotate(mirror_x(affinity.skew(affinity.scale(g, 0.8, 1, origin=(0, 0)),
                                                      xs=-10, origin=(0, 0))), -20, origin=(0, 0)),
     None),
]
# The closed form writes single-precision numbers: a mirror keeps them exactly, other maps are
# held to the rounding of a coordinate below 128 (under 8e-6).
ROUNDING = 1e-5
for options, expected, limit in cases:
    r, path = convert("t.dxf", *options)
    if r.returncode != 0:
        failures.append(f"{options}: exit {r.returncode}: {r.stderr}")
        continue
    got = region(rings(path))
    want = expected(plain)
    if limit is not None:
        area = got.symmetric_difference(want).area
        check(options, area < limit, f"symmetric difference {area:.3g}")
    else:
        apart = got.hausdorff_distance(want)
        check(options, apart < ROUNDING, f"Hausdorff distance {apart:.3g}")

# Rigid letters on a straight slope are the text turned and moved along it: 120 right and 90
# down in SVG's Y (so up in the drawing's), 150 long, the text starting 10 along it.
r, plain_font_path = convert("font.dxf", "--spacing", "font")
r, path = convert("slope.dxf", "--spacing", "font", "--path", "M 0 0 L 120 -90", "--path-offset", "10")
check("slope", r.returncode == 0, r.stderr)
if r.returncode == 0:
    angle = math.degrees(math.atan2(90, 120))
    want = affinity.translate(affinity.rotate(region(rings(plain_font_path)), angle, origin=(0, 0)),
                              10 * 0.8, 10 * 0.6)
    apart = region(rings(path)).hausdorff_distance(want)
    check("slope", apart < ROUNDING, f"Hausdorff distance {apart:.3g}")

# A path too short: how much longer it must be, and no file.
r, path = convert("short.dxf", "--path", "M 0 0 h 20")
check("short path", r.returncode == 1 and "past the path (20.000 long)" in r.stderr
      and not os.path.exists(path), f"exit {r.returncode}: {r.stderr}")

# The badge: text round the top of a circle, an ellipse frame (a circle about the centre) at
# margin 8 and two holes of 4, inset one diameter from the frame.
r, path = convert("badge.dxf", "--spacing", "font", "--arc-radius", "60", "--frame", "ellipse",
                  "--frame-margin", "8", "--holes", "2,4")
check("badge", r.returncode == 0, r.stderr)
if r.returncode == 0:
    polygons = rings(path)
    frame = max(polygons, key=lambda p: p.area)
    holes = [p for p in polygons if abs(p.area - math.pi * 4) < 0.01]
    letters = [p for p in polygons if p is not frame and all(p is not h for h in holes)]
    text = region(letters)
    reach = max(math.hypot(x, y) for p in letters for x, y in p.exterior.coords)
    check("badge frame holds the text", frame.contains(text), "a letter crosses the frame")
    gap = frame.exterior.distance(text)
    check("badge frame margin", 8 - ROUNDING <= gap <= 8 + 1e-3, f"gap {gap}")
    check("badge frame round", abs(frame.exterior.distance(Point(0, 0)) - (reach + 8)) < 1e-3,
          "not a circle about the centre")
    centres = sorted((round(h.centroid.x, 6), round(h.centroid.y, 6)) for h in holes)
    x = reach + 8 - 4
    check("badge holes", len(holes) == 2 and all(
        math.hypot(c[0] - e[0], c[1] - e[1]) < ROUNDING for c, e in zip(centres, [(-x, 0), (x, 0)])),
        f"holes at {centres}")

# The same badge at a curve tolerance finer than the frame's own chords: the frame's and the
# holes' round parts keep to it too (the frame's chords outside its circle, the holes' inside).
T = 0.0002
r, path = convert("fine-badge.dxf", "--spacing", "font", "--arc-radius", "60", "--frame", "ellipse",
                  "--frame-margin", "8", "--holes", "2,4", "--tolerance", str(T))
check("fine badge", r.returncode == 0, r.stderr)
if r.returncode == 0:
    polygons = rings(path)
    frame = max(polygons, key=lambda p: p.area)
    radius = frame.exterior.distance(Point(0, 0))  # at the chords' middles, on the circle
    out = max(math.hypot(x, y) for x, y in frame.exterior.coords) - radius
    check("fine badge frame", 0 <= out <= T + ROUNDING, f"vertices {out} outside its circle")
    for h in (p for p in polygons if abs(p.area - math.pi * 4) < 0.01):
        c = h.centroid
        inside = 2 - h.exterior.distance(c)
        check("fine badge hole", 0 <= inside <= T + ROUNDING, f"chords {inside} inside the hole's circle")

# A text longer than its circle: the reason, and no file.
r, path = convert("long.dxf", "--arc-radius", "5")
check("too long", r.returncode == 1 and "longer than its circle" in r.stderr
      and not os.path.exists(path), f"exit {r.returncode}: {r.stderr}")

for f in failures:
    print(f)
sys.exit(1 if failures else 0)
