#!/usr/bin/env python3
"""Draws the status-bar icon shown while alarms are disarmed: a bell struck through.

libstatusbar shows an item's image name "Hushmark" from UIKit's folder, one picture for each
kind of bar and each screen scale:

    White_Hushmark.png, White_Hushmark@2x.png, White_Hushmark@3x.png   white, for a dark bar
    Black_Hushmark.png, Black_Hushmark@2x.png, Black_Hushmark@3x.png   black, for a light bar

The glyph is 14 by 14 points (14, 28 and 42 pixels), of one color with soft edges: a bell
with a knob on top, a flared lip and a clapper, and a slash from the top left to the bottom
right with a clear gap on both sides, so the cut reads even at 14 pixels. Shapes are sampled
8 x 8 per pixel.

    python3 tweak/resources/tools/make_statusbar_pngs.py tweak/resources/statusbar
"""
import math
import os
import sys

sys.dont_write_bytecode = True  # nothing left in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "scripts"))
import rgba_png  # noqa: E402

SIZE = 14.0  # points, square
SAMPLES = 8
VARIANTS = {"White": (255, 255, 255), "Black": (0, 0, 0)}
SCALES = {1: "", 2: "@2x", 3: "@3x"}

# The slash, from (a, a) to (b, b), and the gap cut into the bell beside it.
SLASH_FROM, SLASH_TO = 1.2, 12.8
SLASH_HALF_WIDTH = 0.7
GAP = 0.7


def bell_half_width(y):
    """Half the bell's width at height y, or None above or below its body. The lip ends on a
    whole pixel at every scale."""
    if 1.7 <= y < 5.0:  # the dome: a circle of radius 3.3 centred at (7, 5)
        d = 5.0 - y
        return math.sqrt(max(0.0, 3.3 * 3.3 - d * d))
    if 5.0 <= y < 8.5:  # the waist widens a little
        return 3.3 + 0.8 * (y - 5.0) / 3.5
    if 8.5 <= y <= 10.0:  # the lip flares out
        t = (y - 8.5) / 1.5
        return 4.1 + 1.9 * t * t
    return None


def in_bell(x, y):
    if math.hypot(x - 7.0, y - 1.4) <= 0.9:  # the knob
        return True
    if y >= 11.0 and math.hypot(x - 7.0, y - 11.0) <= 1.8:  # the clapper, its lower half
        return True
    half = bell_half_width(y)
    return half is not None and abs(x - 7.0) <= half


def slash_distance(x, y):
    """Distance from the point to the slash's centre line (a segment)."""
    ax = ay = SLASH_FROM
    length = (SLASH_TO - SLASH_FROM) * math.sqrt(2)
    ux = uy = 1 / math.sqrt(2)
    t = max(0.0, min(length, (x - ax) * ux + (y - ay) * uy))
    return math.hypot(x - (ax + t * ux), y - (ay + t * uy))


def covered(x, y):
    d = slash_distance(x, y)
    if d <= SLASH_HALF_WIDTH:
        return True
    return d > SLASH_HALF_WIDTH + GAP and in_bell(x, y)


def pixel(px, py, scale, color):
    hits = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            if covered((px + (sx + 0.5) / SAMPLES) / scale, (py + (sy + 0.5) / SAMPLES) / scale):
                hits += 1
    if hits == 0:
        return (0, 0, 0, 0)
    return color + (round(255 * hits / SAMPLES**2),)



def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for variant, color in VARIANTS.items():
        for scale, suffix in SCALES.items():
            n = int(SIZE * scale)
            rows = [[pixel(x, y, scale, color) for x in range(n)] for y in range(n)]
            with open(os.path.join(folder, f"{variant}_Hushmark{suffix}.png"), "wb") as out:
                out.write(rgba_png.encode(n, n, rows))


if __name__ == "__main__":
    main()
