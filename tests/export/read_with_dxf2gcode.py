#!/usr/bin/python3
"""Reads a DXF with the importer of dxf2gcode (Debian's CAM program) and prints what it made
of it: "units metric|imperial", then "contours <count> closed <count>", then one line per
contour, "contour <closed 0|1> <entities>".
Only its importer runs: the package's own export cannot run headless with this PyQt5.
Usage: read_with_dxf2gcode.py FILE
"""
import atexit
import logging
import os
import shutil
import sys
import tempfile

os.environ.setdefault('QT_QPA_PLATFORM', 'offscreen')
logging.disable(logging.CRITICAL)

from PyQt5.QtWidgets import QApplication  # noqa: E402

import dxf2gcode.globals.globals as g  # noqa: E402
from dxf2gcode.globals.config import MyConfig  # noqa: E402

# The program keeps its configuration in the user's folder (made on first use); here a
# private one, removed at the end, so a test run leaves nothing behind.
g.folder = tempfile.mkdtemp(prefix='dxf2gcode-')
atexit.register(shutil.rmtree, g.folder, True)
g.config = MyConfig()
app = QApplication(sys.argv[:1])

from dxf2gcode.dxfimport.importer import ReadDXF  # noqa: E402

values = ReadDXF(sys.argv[1])
contours = values.entities.cont
print('units', 'metric' if g.config.metric else 'imperial')
print('contours', len(contours), 'closed', sum(1 for c in contours if c.closed))
for c in contours:
    print('contour', 1 if c.closed else 0, len(c.order))
