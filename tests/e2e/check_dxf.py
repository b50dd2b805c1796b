#!/usr/bin/python3
"""Reads a DXF written by kerfline-convert with ezdxf, an independent reader, checks the
invariants of its format and prints what it found, one "key value..." line each.

  check_dxf.py FILE --mode lines|polylines --layer NAME --zlevel Z [--zmove Z]
               [--same-strokes-as OTHER.dxf]

Exit status 0 when every check holds, 1 with "FAIL: ..." lines on stderr otherwise.
"""
import argparse
import struct
import sys

import ezdxf


def f32(text):
    """The single-precision value of a number text, as the exports hold it."""
    return struct.unpack("<f", struct.pack("<f", float(text)))[0]


def same(a, b):
    # DXF numbers carry 15 significant digits of the single-precision value.
    return abs(a - b) <= 1e-12 * max(1.0, abs(a), abs(b))


failures = []


def fail(msg):
    if len(failures) < 20:
        failures.append(msg)


def lines_mode(entities, layer, zlevel, zmove):
    """Plunge, strokes, retract around every contour; returns the strokes and contours."""
    strokes, contours = [], []
    current = None  # strokes of the open contour
    start = None
    pending_zero = None  # a zero-length stroke outside a contour, waiting for its retract
    for i, e in enumerate(entities):
        s, t = e.dxf.start, e.dxf.end
        vertical = same(s.x, t.x) and same(s.y, t.y)
        if vertical and same(s.z, zmove) and same(t.z, zlevel) and not same(zmove, zlevel):
            if current is not None or pending_zero is not None:
                fail(f"entity {i}: plunge inside an open contour")
            current, start = [], (s.x, s.y)
            continue
        if vertical and same(s.z, zlevel) and same(t.z, zmove) and not same(zmove, zlevel):
            if pending_zero is not None:
                if not (same(s.x, pending_zero[0]) and same(s.y, pending_zero[1])):
                    fail(f"entity {i}: retract away from the zero-length stroke")
                pending_zero = None
                continue
            if current is None:
                fail(f"entity {i}: retract without a contour")
                continue
            if not current:
                fail(f"entity {i}: contour without strokes")
            elif not (same(s.x, start[0]) and same(s.y, start[1])):
                fail(f"entity {i}: retract at ({s.x}, {s.y}), contour began at {start}")
            contours.append(current)
            current = None
            continue
        # A stroke: both ends at the cutting depth.
        if not (same(s.z, zlevel) and same(t.z, zlevel)):
            fail(f"entity {i}: stroke Z {s.z}..{t.z}, expected {zlevel}")
        seg = (s.x, s.y, t.x, t.y)
        strokes.append(seg)
        if current is None:
            if vertical and pending_zero is None:
                pending_zero = (s.x, s.y)  # first stroke of zero length ends its contour at once
            else:
                fail(f"entity {i}: stroke outside a contour")
            continue
        prev_end = (current[-1][2], current[-1][3]) if current else start
        if not (same(s.x, prev_end[0]) and same(s.y, prev_end[1])):
            fail(f"entity {i}: stroke starts at ({s.x}, {s.y}), previous ended at {prev_end}")
        current.append(seg)
    if current is not None or pending_zero is not None:
        fail("a contour is left open at the end of the file")
    return strokes, contours


def polylines_mode(entities, layer, zlevel):
    strokes = []
    for i, e in enumerate(entities):
        vertices = list(e.vertices)
        if len(vertices) != 2:
            fail(f"entity {i}: POLYLINE with {len(vertices)} vertices")
            continue
        for v in vertices:
            if v.dxf.layer != layer:
                fail(f"entity {i}: VERTEX on layer {v.dxf.layer!r}")
            if not same(v.dxf.location.z, zlevel):
                fail(f"entity {i}: vertex Z {v.dxf.location.z}, expected {zlevel}")
        a, b = vertices[0].dxf.location, vertices[1].dxf.location
        strokes.append((a.x, a.y, b.x, b.y))
    return strokes


def read(path):
    try:
        doc = ezdxf.readfile(path)
    except Exception as exc:  # any reader error is a failed check
        print(f"FAIL: ezdxf cannot read {path}: {exc}", file=sys.stderr)
        sys.exit(1)
    return list(doc.modelspace())


def strokes_of(path, mode, layer, zlevel, zmove):
    entities = read(path)
    if mode == "lines":
        return lines_mode(entities, layer, zlevel, zmove)[0]
    return polylines_mode(entities, layer, zlevel)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("file")
    p.add_argument("--mode", choices=["lines", "polylines"], required=True)
    p.add_argument("--layer", required=True)
    p.add_argument("--zlevel", required=True)
    p.add_argument("--zmove", default="1")
    p.add_argument("--same-strokes-as")
    a = p.parse_args()
    zlevel, zmove = f32(a.zlevel), f32(a.zmove)

    with open(a.file, "rb") as fh:
        raw = fh.read()
    if raw.replace(b"\r\n", b"").count(b"\n") or raw.replace(b"\r\n", b"").count(b"\r"):
        fail("a line does not end in CR LF")
    if not raw.endswith(b"EOF\r\n"):
        fail("the file does not end with EOF and CR LF")

    entities = read(a.file)
    wanted = "LINE" if a.mode == "lines" else "POLYLINE"
    kinds = {}
    for i, e in enumerate(entities):
        kinds[e.dxftype()] = kinds.get(e.dxftype(), 0) + 1
        if e.dxftype() != wanted:
            fail(f"entity {i}: {e.dxftype()} in a {a.mode} file")
        elif e.dxf.layer != a.layer:
            fail(f"entity {i}: layer {e.dxf.layer!r}, expected {a.layer!r}")
    entities = [e for e in entities if e.dxftype() == wanted]

    if a.mode == "lines" and same(zmove, zlevel):
        # Plunge and retract lines cannot be told from strokes: every end is at Z cutting.
        strokes, contours = [], []
        for i, e in enumerate(entities):
            if not (same(e.dxf.start.z, zlevel) and same(e.dxf.end.z, zlevel)):
                fail(f"entity {i}: Z {e.dxf.start.z}..{e.dxf.end.z}, expected {zlevel}")
            strokes.append((e.dxf.start.x, e.dxf.start.y, e.dxf.end.x, e.dxf.end.y))
    elif a.mode == "lines":
        strokes, contours = lines_mode(entities, a.layer, zlevel, zmove)
    else:
        strokes, contours = polylines_mode(entities, a.layer, zlevel), []

    if a.same_strokes_as:
        other_mode = "polylines" if a.mode == "lines" else "lines"
        other = strokes_of(a.same_strokes_as, other_mode, a.layer, zlevel, zmove)
        if len(other) != len(strokes):
            fail(f"{len(strokes)} strokes here, {len(other)} in {a.same_strokes_as}")
        elif any(not all(same(x, y) for x, y in zip(s, o)) for s, o in zip(strokes, other)):
            fail(f"stroke coordinates differ from {a.same_strokes_as}")

    print("entities", len(entities))
    print("strokes", len(strokes))
    print("contours", len(contours))
    if strokes:
        xs = [v for s in strokes for v in (s[0], s[2])]
        ys = [v for s in strokes for v in (s[1], s[3])]
        print("extent", repr(min(xs)), repr(max(xs)), repr(min(ys)), repr(max(ys)))
    for c in contours:
        xs = [v for s in c for v in (s[0], s[2])]
        ys = [v for s in c for v in (s[1], s[3])]
        print("contour", repr(min(xs)), repr(max(xs)), repr(min(ys)), repr(max(ys)))

    for msg in failures:
        print("FAIL:", msg, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
