#!/usr/bin/env python3
"""Postings for scripts/picture-hashes, and the hashes of decoded PNG pixels.

picture-postings.py FOLDER         writes the test and generated postings there
picture-postings.py --hash PNG...  prints "NAME SHA256" of each PNG's pixels
"""
import glob
import hashlib
import os
import random
import re
import struct
import sys
import zlib


def png_pixels(path):
    """The pixels of an 8-bit RGB or RGBA PNG as RGB bytes, row after row."""
    data = open(path, 'rb').read()
    assert data[:8] == b'\x89PNG\r\n\x1a\n', path
    pos, idat, width = 8, b'', 0
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour = struct.unpack('>IIBB', body[:10])
            assert depth == 8 and colour in (2, 6), (path, depth, colour)
            channels = 3 if colour == 2 else 4
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    out, previous = bytearray(), bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = row[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                row[i] = (row[i] + a) & 255
            elif kind == 2:
                row[i] = (row[i] + b) & 255
            elif kind == 3:
                row[i] = (row[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                row[i] = (row[i] + pred) & 255
        previous = row
        for x in range(width):
            out += row[x * channels:x * channels + 3]
    return bytes(out)


def test_postings(folder):
    """One posting per test source: every sketch line quoted in it."""
    literal = re.compile(r'"((?:[LREATlreat])\((?:[^"\\]|\\.)*)"')
    for source in sorted(glob.glob('tests/*/*.cpp')):
        lines = []
        for match in literal.finditer(open(source, encoding='utf-8', errors='replace').read()):
            text = match.group(1).encode('latin-1', 'replace').decode('unicode_escape', 'replace')
            lines.append(text.encode('latin-1', 'replace'))
        if lines:
            name = 'test-' + os.path.basename(os.path.dirname(source)) + '-' + os.path.basename(source)[:-4]
            open(os.path.join(folder, name + '.skp'), 'wb').write(b'\r\n'.join(lines) + b'\r\n')


def generated_postings(folder):
    """Random shapes of every kind, pen and fill, near and far off the picture."""
    rnd = random.Random(15)
    styles = ['1', '2', '3', '4', '7', '10', 'DS', 'DT', 'DD', '0']
    def coord(axis):
        r = rnd.random()
        if r < 0.8:
            return str(rnd.randint(-20, axis + 20))
        if r < 0.9:
            return str(rnd.randint(-3000, 3000))
        return str(rnd.choice([-1, 1]) * rnd.randint(100000, 99999999))
    for n in range(120):
        lines = []
        for _ in range(30):
            kind = rnd.choice('LLREAT')
            style = rnd.choice(styles)
            sep = lambda: rnd.choice([';', ';', ';', ':'])
            if kind == 'L':
                pts = ''.join(sep() + coord(320) + sep() + coord(200) for _ in range(rnd.randint(1, 6)))
                lines.append('L(%s;%s;%s%s)' % (style, coord(320), coord(200), pts))
            elif kind in 'RE':
                lines.append('%s(%s;%s;%s;%s%s%s%s%s)' % (kind, style, rnd.choice('FE'), coord(320), coord(200),
                                                         sep(), coord(320), sep(), coord(200)))
            elif kind == 'A':
                lines.append('A(%s;0;%s;%s%s%s%s%s)' % (style, coord(320), coord(200), sep(), coord(320),
                                                        sep(), coord(200)))
            else:
                size = rnd.choice(['S', 'M', 'L', 'SU', 'MU', 'LU'])
                text = rnd.choice(['Door', 'x', 'Hello world', 'caf\xe9 \xe0', 'WWW', 'gate 12'])
                lines.append('T(%s;%s;%s;"%s")' % (size, coord(320), coord(200), text))
        open(os.path.join(folder, 'gen-%03d.skp' % n), 'wb').write('\r\n'.join(lines).encode('latin-1') + b'\r\n')


if __name__ == '__main__':
    if sys.argv[1] == '--hash':
        for path in sys.argv[2:]:
            name = os.path.basename(path)[:-4]
            print(name, hashlib.sha256(png_pixels(path)).hexdigest())
    else:
        test_postings(sys.argv[1])
        generated_postings(sys.argv[1])
