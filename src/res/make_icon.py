#!/usr/bin/env python3
"""Writes yomitron.ico: one 32 x 32 image, 16 colours, uncompressed, with an AND mask.

The motif is a speedometer: a dark dial in a silver rim, white marks, a red zone at the top
speeds, a red needle, and a small green readout under the hub. Edit the picture below and run
this script again; the build uses the committed .ico, so it needs no Python.
"""

import pathlib
import struct
import sys

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

# Picture letter -> palette index; "." is transparent.
COLOURS = {"K": 0, "N": 4, "G": 8, "S": 7, "R": 9, "L": 10, "W": 15}

PICTURE = """
............KKKKKKKK............
.........KKKSSSSSSSSKKK.........
.......KKSSSSSSSSSSSSSSKK.......
......KKSSSSNNNWWNNNSSSSKK......
.....KSSSSNNNNNWWNNNNNSSSSK.....
....KSSSNNNNNNNWWNNNNNNNSSSK....
...KSSSWNNNNNNNWWNNNRRNNWSSSK...
..KKSSWWWNNNNNNNNNNRRNNWWWSSKK..
..KSSNNWWWNNNNNNNNNRRNWWWNNSSK..
.KSSSNNNWWNNNNNNNNRRNNWWNNNSSSK.
.KSSNNNNNNNNNNNNNNRRNNNNNNNNSSK.
.KSSNNNNNNNNNNNNNRRNNNNNNNNNSSK.
KSSNNNNNNNNNNNNNNRRNNNNNNNNNNSSK
KSSNNNNNNNNNNNNNRRNNNNNNNNNNNSSK
KSSNNNNNNNNNNNSWWSNNNNNNNNNNNSSK
KSSWWWWNNNNNNNSWSSNNNNNNNRRRRSSK
KSSWWWWNNNNNNNSSSSNNNNNNNRRRRSSK
KSSNNNNNNNNNNNSSSSNNNNNNNNNNNSSK
KSSNNNNNNNNNNNNNNNNNNNNNNNNNNSSK
KSSNNNNNNNNNNNNNNNNNNNNNNNNNNSSK
.KSSNNNNNNNNNNNNNNNNNNNNNNNNSSK.
.KSSNNNNNNNKKKKKKKKKKNNNNNNNSSK.
.KSSSNNNWWNKLLKLLKLLKNNRRNNSSSK.
..KSSNNWWWNKLLKLLKLLKNRRRNNSSK..
..KKSSWWWNNKKKKKKKKKKNNRRRSSKK..
...KSSSWNNNNNNNNNNNNNNNNRSSSK...
....KSSSNNNNNNNNNNNNNNNNSSSK....
.....KSSSSNNNNNNNNNNNNSSSSK.....
......KKSSSSNNNNNNNNSSSSKK......
.......KKSSSSSSSSSSSSSSKK.......
.........KKKSSSSSSSSKKK.........
............KKKKKKKK............
"""

SIZE = 32


def rows():
    lines = PICTURE.strip("\n").split("\n")
    if len(lines) != SIZE or any(len(line) != SIZE for line in lines):
        sys.exit(f"the picture must be {SIZE} x {SIZE} letters")
    for line in lines:
        for letter in line:
            if letter != "." and letter not in COLOURS:
                sys.exit(f"unknown picture letter {letter!r}")
    return lines


def icon_bytes(lines):
    # Bitmaps are stored bottom row first; rows padded to 4 bytes (here they already are).
    xor = bytearray()
    mask = bytearray()
    for line in reversed(lines):
        indices = [COLOURS.get(letter, 0) for letter in line]
        xor += bytes((indices[i] << 4) | indices[i + 1] for i in range(0, SIZE, 2))
        bits = "".join("1" if letter == "." else "0" for letter in line)
        mask += int(bits, 2).to_bytes(SIZE // 8, "big")
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    # BITMAPINFOHEADER: the height counts the colour bitmap and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, len(xor) + len(mask),
                         0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return icondir + entry + image


def main():
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else (
        pathlib.Path(__file__).with_name("yomitron.ico"))
    out.write_bytes(icon_bytes(rows()))


if __name__ == "__main__":
    main()
