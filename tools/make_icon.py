#!/usr/bin/env python3
"""Draw the ZORIZA application icon and write it as app/zoriza.ico.

The picture is a workstation (monitor on a stand) on the left joined by an
arrow to an application server (tower with drive bays) on the right, on a
blue rounded square.  The corners outside the square are transparent.

Output: one 64 x 64 image, 8 bits per pixel with a 256-entry palette,
XOR bitmap plus 1-bit AND mask.  The script uses nothing random and no
timestamps, so every run writes the same bytes.

Usage: make_icon.py [OUTPUT_PATH]   (default: app/zoriza.ico next to tools/)
"""

import os
import struct
import sys

SIZE = 64
BITS_PER_PIXEL = 8
PALETTE_ENTRIES = 256
BITMAPINFOHEADER_SIZE = 40
ICO_TYPE_ICON = 1

# Background rounded square.
BG_MARGIN = 1
BG_RADIUS = 11
BG_TOP_RGB = (58, 120, 210)
BG_BOTTOM_RGB = (22, 52, 120)
BG_GRADIENT_STEPS = SIZE  # one palette entry per row

# Fixed colours; indices are assigned in this order after the gradient.
COLOURS = {
    "transparent": (0, 0, 0),
    "outline": (16, 22, 36),
    "bezel": (52, 58, 72),
    "screen": (84, 196, 246),
    "screen_light": (170, 230, 255),
    "screen_dark": (40, 140, 200),
    "stand": (170, 176, 190),
    "case": (214, 219, 228),
    "case_shade": (160, 168, 182),
    "bay": (70, 78, 94),
    "led": (70, 230, 90),
    "arrow": (255, 184, 40),
    "arrow_dark": (190, 120, 10),
    "bg_edge": (14, 34, 82),
}


def build_palette():
    """Return (palette list of 256 RGB tuples, name -> index map, gradient indices)."""
    palette = []
    index = {}
    for name, rgb in COLOURS.items():
        index[name] = len(palette)
        palette.append(rgb)
    gradient = []
    for step in range(BG_GRADIENT_STEPS):
        t = step / (BG_GRADIENT_STEPS - 1)
        rgb = tuple(round(a + (b - a) * t) for a, b in zip(BG_TOP_RGB, BG_BOTTOM_RGB))
        gradient.append(len(palette))
        palette.append(rgb)
    palette.extend([(0, 0, 0)] * (PALETTE_ENTRIES - len(palette)))
    return palette, index, gradient


class Canvas:
    """A SIZE x SIZE grid of palette indices plus a transparency flag per pixel."""

    def __init__(self, fill_index):
        self.pixels = [[fill_index] * SIZE for _ in range(SIZE)]
        self.opaque = [[False] * SIZE for _ in range(SIZE)]

    def put(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.pixels[y][x] = colour
            self.opaque[y][x] = True

    def rect(self, x0, y0, x1, y1, colour):
        """Fill the inclusive rectangle (x0, y0)-(x1, y1)."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        """Draw a one-pixel border along the inclusive rectangle."""
        self.rect(x0, y0, x1, y0, colour)
        self.rect(x0, y1, x1, y1, colour)
        self.rect(x0, y0, x0, y1, colour)
        self.rect(x1, y0, x1, y1, colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(cy - radius, cy + radius + 1):
            for x in range(cx - radius, cx + radius + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius + radius:
                    self.put(x, y, colour)


def inside_rounded_square(x, y, lo, hi, radius):
    """True when pixel (x, y) lies in the square [lo, hi]^2 with rounded corners."""
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    dx, dy = x + 0.5 - (cx + 0.5), y + 0.5 - (cy + 0.5)
    return dx * dx + dy * dy <= (radius + 0.3) ** 2


def draw_background(canvas, index, gradient):
    lo, hi = BG_MARGIN, SIZE - 1 - BG_MARGIN
    inner_lo, inner_hi = lo + 1, hi - 1
    for y in range(SIZE):
        for x in range(SIZE):
            if inside_rounded_square(x, y, inner_lo, inner_hi, BG_RADIUS - 1):
                canvas.put(x, y, gradient[y])
            elif inside_rounded_square(x, y, lo, hi, BG_RADIUS):
                canvas.put(x, y, index["bg_edge"])


def draw_monitor(canvas, c):
    # Bezel and screen.
    canvas.rect(5, 16, 28, 36, c["bezel"])
    canvas.frame(5, 16, 28, 36, c["outline"])
    canvas.rect(8, 19, 25, 33, c["screen"])
    # A diagonal glare band and a darker lower edge give the glass some depth.
    for y in range(19, 34):
        for x in range(8, 26):
            if 0 <= (x - 8) + (y - 19) <= 4 or 7 <= (x - 8) + (y - 19) <= 8:
                canvas.put(x, y, c["screen_light"])
    canvas.rect(8, 33, 25, 33, c["screen_dark"])
    # Stand: neck and foot.
    canvas.rect(14, 37, 19, 41, c["stand"])
    canvas.frame(14, 37, 19, 41, c["outline"])
    canvas.rect(9, 42, 24, 45, c["stand"])
    canvas.frame(9, 42, 24, 45, c["outline"])
    canvas.rect(15, 37, 18, 37, c["case_shade"])


def draw_server(canvas, c):
    x0, y0, x1, y1 = 41, 9, 58, 54
    canvas.rect(x0, y0, x1, y1, c["case"])
    canvas.rect(x1 - 2, y0 + 1, x1 - 1, y1 - 1, c["case_shade"])
    canvas.frame(x0, y0, x1, y1, c["outline"])
    # Three drive bays, each with a status light.
    for top in (14, 21, 28):
        canvas.rect(x0 + 3, top, x1 - 4, top + 3, c["bay"])
        canvas.rect(x1 - 7, top + 1, x1 - 6, top + 2, c["led"])
    # Vent lines and the power button near the foot of the tower.
    for y in (37, 40, 43):
        canvas.rect(x0 + 4, y, x1 - 5, y, c["case_shade"])
    canvas.disc(49, 49, 2, c["bay"])
    canvas.put(49, 49, c["led"])


def draw_arrow(canvas, c):
    """A thick arrow from the monitor towards the server."""
    mid = 26
    shaft_x0, shaft_x1 = 29, 33
    canvas.rect(shaft_x0, mid - 2, shaft_x1, mid + 2, c["arrow_dark"])
    canvas.rect(shaft_x0, mid - 1, shaft_x1, mid + 1, c["arrow"])
    head_x0, head_len = 34, 6
    for i in range(head_len + 1):
        half = head_len - i
        x = head_x0 + i
        canvas.rect(x, mid - half - 1, x, mid + half + 1, c["arrow_dark"])
        if half >= 1:
            canvas.rect(x, mid - half, x, mid + half, c["arrow"])


def draw_picture():
    palette, index, gradient = build_palette()
    canvas = Canvas(index["transparent"])
    draw_background(canvas, index, gradient)
    draw_monitor(canvas, index)
    draw_server(canvas, index)
    draw_arrow(canvas, index)
    return palette, canvas


def encode_ico(palette, canvas):
    """Pack one 8-bit image into .ico bytes (rows are stored bottom-up)."""
    xor_row = SIZE  # 64 bytes, already a multiple of 4
    and_row = ((SIZE + 31) // 32) * 4
    xor_bits = bytearray()
    and_bits = bytearray()
    for y in reversed(range(SIZE)):
        xor_bits.extend(canvas.pixels[y][x] if canvas.opaque[y][x] else 0
                        for x in range(SIZE))
        row = bytearray(and_row)
        for x in range(SIZE):
            if not canvas.opaque[y][x]:
                row[x // 8] |= 0x80 >> (x % 8)
        and_bits.extend(row)
    assert len(xor_bits) == xor_row * SIZE

    header = struct.pack("<IiiHHIIiiII", BITMAPINFOHEADER_SIZE, SIZE, SIZE * 2,
                         1, BITS_PER_PIXEL, 0, len(xor_bits) + len(and_bits),
                         0, 0, 0, 0)
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    image = header + colour_table + bytes(xor_bits) + bytes(and_bits)

    icon_dir = struct.pack("<HHH", 0, ICO_TYPE_ICON, 1)
    entry_size = 16
    # A colour count of 0 in the directory means 256 colours or more.
    entry = struct.pack("<BBBBHHII", SIZE % 256, SIZE % 256, 0, 0, 1,
                        BITS_PER_PIXEL, len(image), len(icon_dir) + entry_size)
    return icon_dir + entry + image


def main(argv):
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = argv[1] if len(argv) > 1 else os.path.join(repo, "app", "zoriza.ico")
    palette, canvas = draw_picture()
    data = encode_ico(palette, canvas)
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    with open(out, "wb") as f:
        f.write(data)
    print(f"wrote {out} ({len(data)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
