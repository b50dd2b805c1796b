#!/usr/bin/python3
"""Writes tests/data/export/dxf_real_table.txt: float bit patterns and their DXF texts.

The texts come from Python's decimal module (exact value of the float, 15 significant digits,
ROUND_HALF_UP = ties away from zero), independently of the C++ formatter they check.
Run: /usr/bin/python3 tests/export/make_dxf_real_table.py > tests/data/export/dxf_real_table.txt
"""
import random
import struct
from decimal import Decimal, Context, ROUND_HALF_UP

CTX = Context(prec=15, rounding=ROUND_HALF_UP)


def bits_of(x):
    return struct.unpack('<I', struct.pack('<f', x))[0]


def value_of(bits):
    return struct.unpack('<f', struct.pack('<I', bits))[0]


def dxf_real(bits):
    v = value_of(bits)
    if v == 0:
        return '0'
    sign, digits, exp = CTX.plus(Decimal(abs(v))).as_tuple()
    digits = list(digits)
    while digits[-1] == 0:
        digits.pop()
        exp += 1
    d = ''.join(map(str, digits))
    e = len(d) + exp  # |v| = 0.d * 10^e
    out = '-' if v < 0 else ''
    if -3 <= e <= 15:
        if e <= 0:
            out += '0.' + '0' * (-e) + d
        elif len(d) <= e:
            out += d + '0' * (e - len(d))
        else:
            out += d[:e] + '.' + d[e:]
    else:
        out += d[0] + ('.' + d[1:] if len(d) > 1 else '') + 'E' + str(e - 1)
    return out


def exact_digits(bits):
    return str(Decimal(abs(value_of(bits)))).replace('.', '').lstrip('0')


def main():
    rng = random.Random(20240611)
    chosen = []
    # Worked examples, boundaries of the positional range, extremes and neighbours.
    for x in [2, -2, 0.5, 1234.5, 0.1, -0.3, 0.00012, 0.0001, 0.00005, 1e16, 5, 1e15, 1e-4,
              999999999999999.0, 1e14, 123456789.0, 3.4028234663852886e38, 1.17549435e-38,
              1.4e-45, 0.9, 0.18, 0.0018000000313, 2.457, 1.1, 16777216.0, 16777217.0]:
        b = bits_of(x)
        chosen += [b, b ^ 0x80000000, b + 1, b - 1]
    chosen += [0x00000001, 0x007FFFFF, 0x00800000, 0x7F7FFFFF, 0x80000000, 0x00000000]
    for k in range(-45, 39):  # floats around every power of ten
        b = bits_of(float('1e%d' % k))
        chosen += [b - 2, b - 1, b, b + 1, b + 2]
    # Cases whose rounding carries through several digits ("...99999" then 5 or more).
    carries = []
    while len(carries) < 40:
        b = rng.getrandbits(31)
        if (b >> 23) == 0xFF:
            continue
        d = exact_digits(b)
        if len(d) > 15 and d[11:15] == '9999' and d[15] >= '5':
            carries.append(b)
    chosen += carries
    # Ties: the 16th digit exactly 5 with nothing after it (away from zero).
    ties = []
    while len(ties) < 20:
        b = rng.getrandbits(32)
        if ((b >> 23) & 0xFF) == 0xFF:
            continue
        d = exact_digits(b)
        if len(d) == 16 and d[15] == '5':
            ties.append(b)
        elif len(d) > 16 and d[15] == '5' and d[16:].strip('0') == '':
            ties.append(b)
    chosen += ties
    for _ in range(3000):
        b = rng.getrandbits(32)
        if ((b >> 23) & 0xFF) != 0xFF:
            chosen.append(b)
    for _ in range(3000):
        x = rng.uniform(-3000.0, 3000.0)
        chosen.append(bits_of(x))
    seen = set()
    for b in chosen:
        b &= 0xFFFFFFFF
        if b in seen or ((b >> 23) & 0xFF) == 0xFF:
            continue
        seen.add(b)
        print('%08x %s' % (b, dxf_real(b)))


main()
