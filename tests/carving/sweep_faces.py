#!/usr/bin/python3
"""Carves every printable letter of many faces at several sizes and measures each carving.

For each face and size, kerfline-convert writes the letters' outline (closed DXF) and their
V-carving (G-code); check_carving.py measures the carving against the outline. The letters are
U+0021..U+007E and U+00A1..U+00FF (--latin1: the second range only), set in rows of 16 with a
space between letters; with --weld the rows are set so close that they overlap and are welded.
A size is the em in millimetres (the classic scale makes a point 0.24568 mm of em).

Prints one line per face and size: the face, the size, the checker's figures (see
check_carving.py) and the seconds it took; exits non-zero when any coverage is below
--coverage (default 0.999) or any connected piece below --piece (default 0.99: a lost or
broken letter leaves its piece far below that).
Usage: sweep_faces.py CONVERT [--latin1] [--weld] [--sizes 2,10,100] [--coverage C]
                      [--piece P] FACE...
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CHECKER = os.path.join(HERE, 'check_carving.py')
MM_PER_POINT = 0.24568  # em per point at scale 100 (72 points: an em of 17.689 mm)
ANGLE = '60'


def letters(latin1_only):
    codes = list(range(0xA1, 0x100))
    if not latin1_only:
        codes = list(range(0x21, 0x7F)) + codes
    rows = [codes[i:i + 16] for i in range(0, len(codes), 16)]
    return '\n'.join(' '.join(chr(c) for c in row) for row in rows)


def run(command, cwd):
    done = subprocess.run(command, cwd=cwd, capture_output=True, text=True)
    if done.returncode != 0:
        raise RuntimeError(' '.join(command) + '\n' + done.stdout + done.stderr)
    return done.stdout


def sweep(convert, face, size_mm, args):
    points = size_mm / MM_PER_POINT
    text = ['--text', letters(args.latin1), '--font', face, '--size', '%.3f' % points]
    # Rows 0.6 em apart overlap (accents, descenders and capitals meet), so the weld joins
    # letters of neighbouring rows into one region; without it rows keep clear of each other.
    if args.weld:
        text += ['--pitch', '%.4f' % (-0.6 * size_mm), '--weld']
    else:
        text += ['--pitch', 'auto']
    with tempfile.TemporaryDirectory() as tmp:
        started = time.monotonic()
        run([convert] + text + ['-f', 'closed', '-o', 'outline.dxf', '-q'], tmp)
        run([convert] + text + ['-f', 'gcode', '--cut', 'vcarve', '--bit-angle', ANGLE,
                                '-o', 'carve.nc', '-q'], tmp)
        # Sampled every two hundredth of the em: the overcut at the small sizes as finely as
        # the checker's default, the large ones in bounded time.
        figures = run(['/usr/bin/python3', CHECKER, '--step', repr(size_mm / 200), '--disc', '16',
                       'outline.dxf', ANGLE, 'carve.nc'], tmp).split()
        return figures, time.monotonic() - started


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('convert', type=os.path.abspath)
    parser.add_argument('faces', nargs='+')
    parser.add_argument('--latin1', action='store_true')
    parser.add_argument('--weld', action='store_true')
    parser.add_argument('--sizes', default='2,10,100')
    parser.add_argument('--coverage', type=float, default=0.999)
    parser.add_argument('--piece', type=float, default=0.99)
    args = parser.parse_args()
    failed = 0
    print('# face size moves samples overcut p99 coverage largest-uncut area worst-piece seconds')
    for face in args.faces:
        for size in (float(s) for s in args.sizes.split(',')):
            try:
                figures, seconds = sweep(args.convert, face, size, args)
            except RuntimeError as error:
                print('%r %g FAILED %s' % (face, size, error))
                failed += 1
                continue
            coverage, piece = float(figures[4]), float(figures[7])
            bad = coverage < args.coverage or piece < args.piece
            failed += bad
            print('%r %g %s %.1f%s' % (face, size, ' '.join(figures), seconds,
                                       ' BELOW' if bad else ''), flush=True)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
