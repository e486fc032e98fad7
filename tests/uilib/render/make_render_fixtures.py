#!/usr/bin/env python3
"""Writes the small PNG images the rendering tests pack into their archive."""
import struct
import sys
import zlib
from pathlib import Path


def png(width, height, pixel):
    """PNG bytes of an RGBA image; pixel(x, y) returns (r, g, b, a)."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows)))
            + chunk(b"IEND", b""))


def nine_grid(x, y):
    # 4-pixel corners and edges in distinct colours around a white middle.
    cells = [[(255, 0, 0), (0, 255, 255), (0, 255, 0)],
             [(128, 128, 128), (255, 255, 255), (64, 64, 64)],
             [(0, 0, 255), (255, 0, 255), (255, 255, 0)]]
    r, g, b = cells[min(y // 4, 2)][min(x // 4, 2)]
    return (r, g, b, 255)


def stripes(x, y):
    # Column x has red 20 * x + 10: tiling shows where each tile starts.
    return (20 * x + 10, 0, 0, 255)


def cells(x, y):
    # Four 6-pixel cells side by side: red, green, blue, white.
    colours = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)]
    return colours[x // 6] + (255,)


def main():
    out = Path(sys.argv[1])
    (out / "img").mkdir(parents=True, exist_ok=True)
    (out / "img" / "grid12.png").write_bytes(png(12, 12, nine_grid))
    (out / "img" / "stripes10.png").write_bytes(png(10, 4, stripes))
    (out / "img" / "cells24.png").write_bytes(png(24, 6, cells))


if __name__ == "__main__":
    main()
