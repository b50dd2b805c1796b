#!/usr/bin/python3
"""Prints "upem ascender descender lineGap" of a TrueType or OpenType font file, read from its
head and hhea tables with nothing but struct: a reading of the file independent of FreeType.
Usage: read_font_metrics.py FILE
"""
import struct
import sys

data = open(sys.argv[1], 'rb').read()
count = struct.unpack('>H', data[4:6])[0]
tables = {data[12 + 16 * i:16 + 16 * i]: struct.unpack('>I', data[20 + 16 * i:24 + 16 * i])[0]
          for i in range(count)}
head, hhea = tables[b'head'], tables[b'hhea']
print(struct.unpack('>H', data[head + 18:head + 20])[0],
      *struct.unpack('>hhh', data[hhea + 4:hhea + 10]))
