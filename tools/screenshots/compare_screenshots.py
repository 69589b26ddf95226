#!/usr/bin/env python3
"""Compares two folders of screenshots pixel by pixel: every PNG of the first folder against the
PNG of the same name in the second, decoded (any colour type of 8 bits per sample, not
interlaced), so that files which differ only in how they were compressed still count as equal.
Prints one line per picture and exits with status 1 when any differs or is missing.

usage: compare_screenshots.py BEFORE_FOLDER AFTER_FOLDER
"""
import os
import struct
import sys
import zlib

CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}  # PNG colour type -> samples per pixel


def paeth(left, up, upper_left):
    estimate = left + up - upper_left
    distances = (abs(estimate - left), abs(estimate - up), abs(estimate - upper_left))
    return (left, up, upper_left)[distances.index(min(distances))]


def decode_png(path):
    """Returns (width, height, colour type, palette, rows of unfiltered bytes)."""
    with open(path, "rb") as file:
        data = file.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path} is not a PNG file")
    position, compressed, palette = 8, b"", b""
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        position += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or interlace != 0 or colour not in CHANNELS:
                raise ValueError(f"{path}: only 8-bit, non-interlaced PNG files are read")
        elif kind == b"PLTE":
            palette = body
        elif kind == b"IDAT":
            compressed += body
    raw = zlib.decompress(compressed)
    stride = width * CHANNELS[colour]
    step = CHANNELS[colour]
    rows, previous, offset = [], bytearray(stride), 0
    for _ in range(height):
        method, line = raw[offset], bytearray(raw[offset + 1:offset + 1 + stride])
        offset += 1 + stride
        for index in range(stride):
            left = line[index - step] if index >= step else 0
            up = previous[index]
            upper_left = previous[index - step] if index >= step else 0
            line[index] = (line[index] + (0, left, up, (left + up) // 2,
                                          paeth(left, up, upper_left))[method]) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, colour, palette, rows


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    before, after = sys.argv[1], sys.argv[2]
    differing = 0
    for name in sorted(os.listdir(before)):
        if not name.endswith(".png"):
            continue
        other = os.path.join(after, name)
        if not os.path.exists(other):
            print(f"missing   {name}")
            differing += 1
            continue
        first, second = decode_png(os.path.join(before, name)), decode_png(other)
        same = first == second
        print(f"{'identical' if same else 'DIFFERENT'} {name} ({first[0]}x{first[1]})")
        differing += 0 if same else 1
    sys.exit(1 if differing else 0)


if __name__ == "__main__":
    main()
