#!/usr/bin/env python3
"""Compares the pixels of two 8-bit RGB or RGBA PNGs (alpha ignored).

  png_pixels.py A.png B.png [X,Y,W,H ...]

Pixels inside the given rectangles are not compared. Exit status 1 and the first difference when
they differ anywhere else."""
import struct, sys, zlib


def decode(data):
    """Width, height and rows of RGB bytes."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise ValueError("only 8-bit RGB or RGBA without interlace")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw, rows, previous = zlib.decompress(idat), [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        previous = line
        rows.append(bytes(v for i, v in enumerate(line) if i % channels < 3))
    return width, height, rows


def main():
    (wa, ha, a), (wb, hb, b) = (decode(open(f, "rb").read()) for f in sys.argv[1:3])
    if (wa, ha) != (wb, hb):
        sys.exit("sizes differ: %dx%d against %dx%d" % (wa, ha, wb, hb))
    skip = [tuple(map(int, r.split(","))) for r in sys.argv[3:]]
    for y in range(ha):
        if a[y] == b[y]:
            continue
        for x in range(wa):
            if a[y][3 * x:3 * x + 3] != b[y][3 * x:3 * x + 3] and \
                    not any(rx <= x < rx + rw and ry <= y < ry + rh for rx, ry, rw, rh in skip):
                sys.exit("pixel %d,%d differs: %s against %s"
                         % (x, y, a[y][3 * x:3 * x + 3].hex(), b[y][3 * x:3 * x + 3].hex()))


if __name__ == "__main__":
    main()
