#!/usr/bin/env python3
"""Draws the travelling-salesman map picture (318 x 379): a made-up country,
green land in a blue sea, with a lake, a river and two islands. Writes a PNG
with the standard library only."""
import math
import struct
import sys
import zlib

W, H = 318, 379

def land(x, y):
    # Main land: a wobbly blob, with a bay cut out on the west coast.
    cx, cy = 165, 195
    dx, dy = (x - cx) / 140.0, (y - cy) / 170.0
    r = math.hypot(dx, dy)
    a = math.atan2(dy, dx)
    edge = 0.93 + 0.07 * math.sin(3 * a + 0.5) + 0.05 * math.sin(7 * a + 1.3) + 0.025 * math.sin(13 * a)
    inside = r < edge
    if math.hypot(x - 38, y - 205) < 40:  # the bay
        inside = False
    # Two islands.
    if math.hypot((x - 292) / 14.0, (y - 58) / 9.0) < 1 or math.hypot((x - 30) / 12.0, (y - 340) / 8.0) < 1:
        inside = True
    return inside

def water_inland(x, y):
    if math.hypot((x - 190) / 22.0, (y - 120) / 14.0) < 1:  # a lake
        return True
    # A river from the lake to the south coast.
    t = (y - 120) / 240.0
    if 0 <= t <= 1:
        rx = 190 - 40 * t + 14 * math.sin(t * 9)
        if abs(x - rx) < 2.2:
            return True
    return False

rows = []
for y in range(H):
    row = bytearray([0])  # filter type none
    for x in range(W):
        if land(x, y) and not water_inland(x, y):
            # Darker near the coast, some light patches inland.
            near = not (land(x - 2, y) and land(x + 2, y) and land(x, y - 2) and land(x, y + 2))
            shade = 0.5 + 0.5 * math.sin(x / 17.0) * math.sin(y / 23.0)
            if near:
                c = (34, 120, 40)
            else:
                c = (int(70 + 40 * shade), int(160 + 35 * shade), int(60 + 20 * shade))
        else:
            depth = 0.5 + 0.5 * math.sin(x / 31.0 + y / 47.0)
            c = (int(40 + 30 * depth), int(110 + 40 * depth), int(200 + 35 * depth))
        row += bytes(c)
    rows.append(bytes(row))

def chunk(tag, data):
    return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
with open(sys.argv[1] if len(sys.argv) > 1 else "tsp-map.png", "wb") as f:
    f.write(png)
