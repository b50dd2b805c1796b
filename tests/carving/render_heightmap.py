#!/usr/bin/python3
"""Renders the material left by a carving as a shaded height map (PNG), from the G-code read back
by the npm interpreter: a V-bit cuts a cone of its angle at each point of its moves, an end mill
a flat disc. For looking at, not a test.
Usage: render_heightmap.py OUT.png PIXEL ANGLE VBIT.nc [ENDMILL_DIA ENDMILL.nc]"""
import math, os, subprocess, sys
import numpy as np
from PIL import Image
INTERP = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'gcode', 'check_gcode.js')
def moves(path):
    out = subprocess.run(['node', INTERP, path], capture_output=True, text=True, check=True).stdout
    return [tuple(float(t) for t in l.split()[4:10]) for l in out.splitlines() if l.startswith('move G1')]
out, px, angle = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
tan_half = math.tan(math.radians(angle) / 2)
tools = [(moves(sys.argv[4]), None)]
if len(sys.argv) > 6: tools.append((moves(sys.argv[6]), float(sys.argv[5]) / 2))
xs = [m[i] for ms, _ in tools for m in ms for i in (0, 3)]
ys = [m[i] for ms, _ in tools for m in ms for i in (1, 4)]
x0, x1, y0, y1 = min(xs) - 1, max(xs) + 1, min(ys) - 1, max(ys) + 1
W, H = int((x1 - x0) / px) + 1, int((y1 - y0) / px) + 1
height = np.zeros((H, W))
for ms, mill in tools:
    for ax, ay, az, bx, by, bz in ms:
        if az >= 0 and bz >= 0: continue
        n = max(1, int(math.hypot(bx - ax, by - ay) / (px / 2)))
        for k in range(n + 1):
            t = k / n
            cx, cy, cz = ax + t * (bx - ax), ay + t * (by - ay), az + t * (bz - az)
            if cz >= 0: continue
            r = mill if mill else -cz * tan_half
            i0, i1 = max(0, int((cx - r - x0) / px)), min(W, int((cx + r - x0) / px) + 2)
            j0, j1 = max(0, int((y1 - cy - r) / px)), min(H, int((y1 - cy + r) / px) + 2)
            if i0 >= i1 or j0 >= j1: continue
            gx = x0 + np.arange(i0, i1) * px
            gy = y1 - np.arange(j0, j1) * px
            d = np.hypot(gx[None, :] - cx, gy[:, None] - cy)
            surf = np.where(d <= r, cz, 0.0) if mill else np.minimum(0.0, cz + d / tan_half)
            np.minimum(height[j0:j1, i0:i1], surf, out=height[j0:j1, i0:i1])
deep = -height.min() if height.min() < 0 else 1
# Lit from the upper left so the V-grooves read as relief; depth darkens.
gy, gx = np.gradient(height, px)
shade = np.clip(0.6 + 0.4 * (-gx + gy) / np.sqrt(1 + gx * gx + gy * gy), 0, 1)
img = (255 * shade * (1 - 0.45 * (-height / deep))).astype(np.uint8)
Image.fromarray(img).save(out)
print(W, H, 'deepest', deep)
