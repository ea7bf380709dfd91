#!/usr/bin/env python3
"""Draws the slider marker, prefs/resources/bundle/Selector.png (16 by 48, RGBA).

The marker stands 4 points above and 4 below the 40-point slider bar: two small arrows point
at the bar from above and below, joined by a thin white line with a dark outline, so it reads
on any color the bar shows. Shapes are sampled 4 x 4 per pixel for smooth edges.

    python3 prefs/resources/tools/make_selector_png.py prefs/resources/bundle/Selector.png
"""
import os
import sys

sys.dont_write_bytecode = True  # nothing left in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "scripts"))
import rgba_png  # noqa: E402

WIDTH, HEIGHT, SAMPLES = 16, 48, 4
WHITE = (255, 255, 255)
DARK = (40, 40, 40)


def in_arrow(x, y, tip_y, base_y, inset=0.0):
    """A triangle centred on the marker, its base on base_y (7 to each side), its tip on
    tip_y; an inset shrinks it by that much all round (roughly), for the white inside."""
    span = base_y - tip_y
    t = (y - tip_y) / span
    if not 0 <= t <= 1:
        return False
    if abs(y - base_y) < inset or abs(y - tip_y) < 2 * inset:
        return False
    return abs(x - WIDTH / 2) <= 7 * t - 1.2 * inset


def shape_at(x, y):
    """The color of a point, or None where the marker is transparent."""
    centre = abs(x - WIDTH / 2)
    # Arrows: the top one points down at the bar, the bottom one up; a dark rim round white.
    for tip, base in ((9, 0), (HEIGHT - 9, HEIGHT)):
        if in_arrow(x, y, tip, base):
            return WHITE if in_arrow(x, y, tip, base, inset=1.0) else DARK
    # The line through the bar: white core 2 wide, dark rim 1 on each side.
    if centre <= 1:
        return WHITE
    if centre <= 2:
        return DARK
    return None


def pixel(px, py):
    """Averages the samples of one pixel into straight (not premultiplied) RGBA."""
    total = [0, 0, 0]
    covered = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            color = shape_at(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
            if color is None:
                continue
            covered += 1
            for i in range(3):
                total[i] += color[i]
    if covered == 0:
        return (0, 0, 0, 0)
    alpha = round(255 * covered / SAMPLES**2)
    return tuple(round(c / covered) for c in total) + (alpha,)



def main():
    rows = [[pixel(x, y) for x in range(WIDTH)] for y in range(HEIGHT)]
    with open(sys.argv[1], "wb") as out:
        out.write(rgba_png.encode(WIDTH, HEIGHT, rows))


if __name__ == "__main__":
    main()
