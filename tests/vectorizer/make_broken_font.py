#!/usr/bin/env python3
"""Writes copies of a TrueType font whose glyphs a converter cannot safely load.

usage: make_broken_font.py SOURCE.ttf DEST.ttf KIND [CHAR [FAMILY]]
  self-composite  CHAR's glyph becomes a composite that references itself
  many-contours   CHAR's glyph becomes 5,000 small square contours
  many-parts      CHAR's glyph becomes 1,000 square contours and the next character's a
                  composite of five copies of it (5,000 contours only once assembled)
  truncated       the file is cut to its first 2,000 bytes (no CHAR)
FAMILY, when given, renames the copy's family so that it can be asked for by name beside the
source. Prints the glyph index of CHAR (or nothing for "truncated").
"""
import sys

from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._g_l_y_f import Glyph, GlyphComponent
from fontTools.pens.ttGlyphPen import TTGlyphPen


def main():
    source, dest, kind = sys.argv[1:4]
    if kind == "truncated":
        with open(source, "rb") as f:
            data = f.read()
        with open(dest, "wb") as f:
            f.write(data[:2000])
        return
    # A self-reference has no bounds to compute: keep the stored ones (and maxp's) as they are.
    font = TTFont(source, recalcBBoxes=(kind != "self-composite"))
    name = font.getBestCmap()[ord(sys.argv[4])]
    glyf = font["glyf"]
    if kind == "self-composite":
        glyph = Glyph()
        glyph.numberOfContours = -1
        component = GlyphComponent()
        component.glyphName = name
        component.x = component.y = 0
        component.flags = 0x0001 | 0x0002  # word arguments, x/y offsets
        glyph.components = [component]
        glyph.xMin = glyph.yMin = 0
        glyph.xMax = glyph.yMax = 100
        glyf[name] = glyph
    elif kind in ("many-contours", "many-parts"):
        pen = TTGlyphPen(None)
        for k in range(5000 if kind == "many-contours" else 1000):
            x, y = (k % 70) * 20, (k // 70) * 20
            pen.moveTo((x, y))
            pen.lineTo((x, y + 10))
            pen.lineTo((x + 10, y + 10))
            pen.lineTo((x + 10, y))
            pen.closePath()
        glyf[name] = pen.glyph()
        if kind == "many-parts":
            composite = Glyph()
            composite.numberOfContours = -1
            composite.components = []
            for k in range(5):
                component = GlyphComponent()
                component.glyphName = name
                component.x, component.y = 0, k * 2000
                component.flags = 0x0001 | 0x0002
                composite.components.append(component)
            glyf[font.getBestCmap()[ord(sys.argv[4]) + 1]] = composite
    else:
        sys.exit("unknown kind " + kind)
    if len(sys.argv) > 5:
        for record in font["name"].names:
            if record.nameID in (1, 4, 16):
                record.string = sys.argv[5]
    font.save(dest)
    print(font.getGlyphID(name))


if __name__ == "__main__":
    main()
