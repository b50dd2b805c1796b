#!/usr/bin/python3
"""Where the cuts of a file with leads pierce and finish, against the material of the same
file written without leads (shapely). Usage: check_leads.py gcode|svg PLAIN LEADS
Prints one line: "<cuts> <pierces in scrap> <pierces in material> <pierces on a path>
<ends in scrap> <ends in material>". The scrap is what lies outside the part region built
from the plain file's rings by the even-odd rule."""
import re
import subprocess
import sys

from shapely.geometry import Point, Polygon
from shapely.ops import unary_union

GCODE_CHECK = sys.path[0] + "/../gcode/check_gcode.js"


def gcode_cuts(path):
    out = subprocess.run(["node", GCODE_CHECK, path], check=True, capture_output=True, text=True).stdout
    cuts, cutting = [], False
    for line in out.splitlines():
        w = line.split()
        if w[0] != "move":
            continue
        a, b = (float(w[4]), float(w[5])), (float(w[7]), float(w[8]))
        if w[1] == "G0":
            cutting = False
            continue
        if not cutting:
            cuts.append([a])
        cuts[-1].append(b)
        cutting = True
    return cuts


def svg_cuts(path):
    text = open(path, encoding="utf-8").read()
    cuts = []
    for d in re.findall(r' d="([^"]*)"', text):
        for piece in d.split("M")[1:]:
            nums = [float(v) for v in piece.replace("Z", " ").split()]
            cuts.append(list(zip(nums[0::2], nums[1::2])))
    return cuts


def main():
    form, plain, leads = sys.argv[1:4]
    read = gcode_cuts if form == "gcode" else svg_cuts
    rings = [Polygon(r).buffer(0) for r in read(plain) if len(r) >= 3]
    material = Polygon()
    for ring in rings:  # even-odd: every ring toggles what it covers
        material = material.symmetric_difference(ring)
    boundary = unary_union([r.exterior for r in rings])
    cuts = read(leads)
    counts = [len(cuts), 0, 0, 0, 0, 0]
    for cut in cuts:
        for at, (scrap, kept) in ((cut[0], (1, 2)), (cut[-1], (4, 5))):
            p = Point(at)
            if boundary.distance(p) < 1e-3:
                if at is cut[0]:
                    counts[3] += 1
                continue
            counts[kept if material.contains(p) else scrap] += 1
    print(*counts)


main()
