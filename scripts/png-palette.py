#!/usr/bin/env python3
"""Rewrites 8-bit RGB or RGBA PNGs of at most 256 colours as palette PNGs, losslessly.

Window pictures hold few colours; as palette images they take a fraction of the space, which
matters for the pictures committed under docs/. Usage: png-palette.py [--top ROWS] IN.png
OUT.png [...] (pairs); --top keeps only the first ROWS rows (a printed page's upper part). A
picture with more than 256 colours is refused with exit status 1.
"""
import struct
import sys
import zlib


def chunks(data):
    at = 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_pixels(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG")
    header, compressed = None, b""
    for kind, body in chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"{path}: only 8-bit RGB or RGBA without interlace")
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw = zlib.decompress(compressed)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            line[i] = (line[i] + (0, left, up, (left + up) // 2, paeth(left, up, corner))[kind]) & 0xFF
        rows.append(line)
        previous = line
    pixels = [[bytes(line[x * channels:x * channels + 3]) for x in range(width)] for line in rows]
    return width, height, pixels


def write_palette(path, width, height, pixels):
    palette = sorted({p for row in pixels for p in row})
    if len(palette) > 256:
        raise OverflowError(f"{path}: {len(palette)} colours")
    index = {colour: i for i, colour in enumerate(palette)}
    raw = b"".join(b"\x00" + bytes(index[p] for p in row) for row in pixels)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)))
        out.write(chunk(b"PLTE", b"".join(palette)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def main(args):
    top = None
    if args[:1] == ["--top"] and len(args) > 1 and args[1].isdigit():
        top, args = int(args[1]), args[2:]
    if not args or len(args) % 2:
        print(" ".join(__doc__.split("Usage: ")[1].split(" (pairs)")[0].split()), file=sys.stderr)
        return 2
    status = 0
    for source, target in zip(args[::2], args[1::2]):
        try:
            width, height, pixels = read_pixels(source)
            if top is not None and top < height:
                height, pixels = top, pixels[:top]
            write_palette(target, width, height, pixels)
        except (ValueError, OverflowError) as error:
            print(error, file=sys.stderr)
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
