#!/usr/bin/env python3
"""Draws vexa's icons from the pixel maps below and writes the .ico files.

Run it from anywhere: python3 resources/make_icons.py. The .ico files it
writes are committed beside it, so a build needs no Python; run it again
after changing a picture. Every image is a 16-colour bitmap in the standard
Windows palette, with an AND mask for the transparent pixels ('.').

  program.ico     icon 101: a modem front panel with a line signal on its
                  screen
  viewer_on.ico   icon 104: a sheet of paper under a magnifying glass
  viewer_off.ico  icon 105: the same picture in greys

Each file holds the picture at 16, 20, 24 and 32 pixels, the small icon
sizes of 100, 125, 150 and 200 % scaling, so Windows need not stretch it;
program.ico also at 48, the large icon size of 150 % (the About box). The
larger images repeat chosen rows and columns of the 16-pixel one (32 and
48: every one, twice or three times), which keeps its one-pixel outlines
even.
"""
import os
import struct

# The standard 16-colour palette, in index order, with one letter each.
PALETTE = [
    ("k", (0x00, 0x00, 0x00)),  # black
    ("m", (0x80, 0x00, 0x00)),  # maroon
    ("G", (0x00, 0x80, 0x00)),  # green
    ("o", (0x80, 0x80, 0x00)),  # olive
    ("n", (0x00, 0x00, 0x80)),  # navy
    ("p", (0x80, 0x00, 0x80)),  # purple
    ("t", (0x00, 0x80, 0x80)),  # teal
    ("s", (0xC0, 0xC0, 0xC0)),  # silver
    ("g", (0x80, 0x80, 0x80)),  # grey
    ("r", (0xFF, 0x00, 0x00)),  # red
    ("l", (0x00, 0xFF, 0x00)),  # lime
    ("y", (0xFF, 0xFF, 0x00)),  # yellow
    ("b", (0x00, 0x00, 0xFF)),  # blue
    ("f", (0xFF, 0x00, 0xFF)),  # fuchsia
    ("c", (0x00, 0xFF, 0xFF)),  # aqua
    ("w", (0xFF, 0xFF, 0xFF)),  # white
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}

PROGRAM = [
    "................",
    ".kkkkkkkkkkkkkk.",
    "knnnnnnnnnnnnnnk",
    "knkkkkkkkkkkkknk",
    "knkklllkkkkkkknk",
    "knklkkklkkkkkknk",
    "knlkkkkkkkkkklnk",
    "knkkkkkklkkklknk",
    "knkkkkkkklllkknk",
    "knkkkkkkkkkkkknk",
    "knnnnnnnnnnnnnnk",
    "knnnnnnnnnnnnnnk",
    "knnrnlnynsssssnk",
    "knnnnnnnnnnnnnnk",
    ".kkkkkkkkkkkkkk.",
    "................",
]

VIEWER = [
    ".kkkkkkkk.......",
    ".kwwwwwwwk......",
    ".kwwwwwwwwk.....",
    ".kwgggggwwk.....",
    ".kwwwwwwwwk.....",
    ".kwgggggnnnn....",
    ".kwwwwwnwwccn...",
    ".kwgggnwcccccn..",
    ".kwwwwnccccccn..",
    ".kwgggnccccccn..",
    ".kwwwwnccccccn..",
    ".kwggggnccccn...",
    ".kwwwwwwnnnnmm..",
    ".kwggggggwk.mmm.",
    ".kwwwwwwwwk..mmm",
    ".kkkkkkkkkk...mm",
]

# For 20 and 24 pixels: the rows and columns repeated. They run through
# fills, so no outline along them doubles; the lens grows as much across as
# down, so it stays round.
PROGRAM_GROWTH = {
    20: ({2, 6, 11, 13}, {1, 5, 9, 14}),
    24: ({2, 3, 6, 9, 10, 11, 12, 13}, {1, 3, 5, 7, 9, 11, 12, 14}),
}
VIEWER_GROWTH = {
    20: ({2, 4, 8, 9}, {3, 5, 8, 11}),
    24: ({1, 2, 4, 7, 8, 9, 10, 14}, {2, 3, 4, 5, 8, 9, 11, 12}),
}

# The "off" picture: every colour replaced by the grey nearest its brightness.
GREYS = {"k": "k", "n": "g", "m": "g", "c": "s", "g": "g", "w": "w", "s": "s"}


def widened(rows, lines, columns):
    """The picture with the given rows and columns each drawn twice."""
    out = []
    for y, row in enumerate(rows):
        wide = "".join(ch * (2 if x in columns else 1) for x, ch in enumerate(row))
        out += [wide] * (2 if y in lines else 1)
    return out


def repeated(rows, times):
    """The picture with every pixel drawn times x times."""
    return ["".join(ch * times for ch in row) for row in rows for _ in range(times)]


def sizes(rows, growth):
    """The picture at 16, 20, 24 and 32 pixels."""
    return [rows, widened(rows, *growth[20]), widened(rows, *growth[24]), repeated(rows, 2)]


def greyed(rows):
    return ["".join(GREYS.get(ch, ch) for ch in row) for row in rows]


def bitmap(rows):
    """One icon image: BITMAPINFOHEADER, palette, colour bits, AND mask."""
    size = len(rows)
    assert all(len(row) == size for row in rows), "pixel maps must be square"
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
    colour = bytearray()
    mask = bytearray()
    # Every bitmap row fills whole 32-bit words (20 pixels: 10 bytes and 2 more).
    colour_row_bytes = ((size * 4 + 31) // 32) * 4
    mask_row_bytes = ((size + 31) // 32) * 4
    for row in reversed(rows):  # bitmaps are stored bottom-up
        indices = [0 if ch == "." else INDEX[ch] for ch in row]
        bits = bytearray(colour_row_bytes)
        for i in range(0, size, 2):
            bits[i // 2] = indices[i] << 4 | indices[i + 1]
        colour += bits
        bits = bytearray(mask_row_bytes)
        for x, ch in enumerate(row):
            if ch == ".":
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + palette + bytes(colour) + bytes(mask)


def icon_file(images):
    """An .ico file holding the given pixel maps."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    data = b""
    for rows in images:
        image = bitmap(rows)
        size = len(rows)
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset + len(data))
        data += image
    return directory + entries + data


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    icons = {
        "program.ico": sizes(PROGRAM, PROGRAM_GROWTH) + [repeated(PROGRAM, 3)],
        "viewer_on.ico": sizes(VIEWER, VIEWER_GROWTH),
        "viewer_off.ico": sizes(greyed(VIEWER), VIEWER_GROWTH),
    }
    for name, images in icons.items():
        with open(os.path.join(here, name), "wb") as out:
            out.write(icon_file(images))


if __name__ == "__main__":
    main()
