#!/usr/bin/env python3
"""Draws packaging/zelt.svg (rectangles, rounded or not, and circles in flat
colours) into a Windows .ico with 16, 32, 48 and 256 pixel images.

Usage: make_icon.py ICON.svg OUT.ico
"""
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

SAMPLES = 4  # per pixel and axis


def colour(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def shapes(svg_path):
    root = ET.parse(svg_path).getroot()
    size = float(root.get("width", "64"))
    found = []
    for element in root.iter():
        tag = element.tag.split("}")[-1]
        fill = element.get("fill")
        if tag == "g":
            continue
        if fill is None:  # inherits the group's fill
            for group in root.iter():
                if element in list(group) and group.get("fill"):
                    fill = group.get("fill")
        if tag == "rect":
            x, y = float(element.get("x", 0)), float(element.get("y", 0))
            w, h = float(element.get("width")), float(element.get("height"))
            r = float(element.get("rx", 0))
            found.append(("rect", (x, y, w, h, r), colour(fill)))
        elif tag == "circle":
            found.append(("circle", tuple(float(element.get(k)) for k in ("cx", "cy", "r")),
                          colour(fill)))
    return size, found


def inside(kind, geometry, px, py):
    if kind == "circle":
        cx, cy, r = geometry
        return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    x, y, w, h, r = geometry
    if not (x <= px <= x + w and y <= py <= y + h):
        return False
    # Rounded corners: the point must lie in the corner's circle.
    cx = min(max(px, x + r), x + w - r)
    cy = min(max(py, y + r), y + h - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def render(size, found, pixels):
    scale = size / pixels
    rows = []
    for j in range(pixels):
        row = bytearray([0])  # PNG filter: none
        for i in range(pixels):
            total = [0, 0, 0, 0]
            for sj in range(SAMPLES):
                for si in range(SAMPLES):
                    px = (i + (si + 0.5) / SAMPLES) * scale
                    py = (j + (sj + 0.5) / SAMPLES) * scale
                    for kind, geometry, rgb in reversed(found):
                        if inside(kind, geometry, px, py):
                            total = [total[0] + rgb[0], total[1] + rgb[1], total[2] + rgb[2],
                                     total[3] + 1]
                            break
            n = SAMPLES * SAMPLES
            if total[3]:
                row += bytes([total[0] // total[3], total[1] // total[3], total[2] // total[3],
                              255 * total[3] // n])
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return png(pixels, b"".join(rows))


def png(pixels, raw):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", pixels, pixels, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    size, found = shapes(sys.argv[1])
    images = [(n, render(size, found, n)) for n in (16, 32, 48, 256)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in images:
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(sys.argv[2], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
