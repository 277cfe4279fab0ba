"""What a player sees in the game's pictures, told apart by colour (thresholds set on real F12 pictures).
Each measure fails on a blank, grey or white frame: none of them asks only for "not black"."""

from PIL import ImageChops, ImageStat


# Colours, each a test of one pixel's r, g, b.
def rock(r, g, b):  # lit asteroid surface: dull brown, red above blue; the sky's greys and blues are not
    return 60 < r < 235 and r >= g >= b - 4 and 14 <= r - b <= 90


def star(r, g, b):
    return min(r, g, b) >= 170


def dark(r, g, b):
    return r + g + b < 120


def hud_green(r, g, b):
    return g > 180 and r < 80 and b < 80


def life_red(r, g, b):  # the life bar's warning colour outside the arena
    return r > 180 and g < 80 and b < 80


def outline(r, g, b):  # the enemy's contour colour (1.0, 0.35, 0.1), alone or added to what lies under it
    return r >= 170 and 0.25 * r <= g <= 0.65 * r and b <= 0.4 * r


def spark(r, g, b):  # fire particles: bright red to yellow, little blue
    return r >= 190 and b <= 0.45 * r


def clear_grey(r, g, b):  # the scene frame buffer's clear colour, seen through a wire frame (bloom off)
    return max(abs(channel - 25) for channel in (r, g, b)) <= 4


def halves(picture):
    """The upper (ship1) and lower (ship2) halves; an odd extra row goes to the upper one."""
    middle = (picture.height + 1) // 2
    return picture.crop((0, 0, picture.width, middle)), picture.crop((0, middle, picture.width, picture.height))


def region(picture, x, y, width, height):
    return picture.crop((x, y, x + width, y + height))


def count(picture, predicate):
    return sum(1 for rgb in picture.getdata() if predicate(*rgb))


def share(picture, predicate):
    return count(picture, predicate) / (picture.width * picture.height)


def space_problems(half, asteroids=True):
    """What a half's view lacks: stars on a dark sky, asteroids unless the ship flew away from them, and the HUD's
    green crosshair, a plus at the centre. An empty list when it shows all of it."""
    problems = [f"{name} cover {value:.4f}" for name, value, low, high in (
        ("stars", share(half, star), 0.001, 0.05), ("dark sky", share(half, dark), 0.5, 1),
        ("asteroids", share(half, rock) if asteroids else 1, 0.03, 1)) if not low <= value <= high]
    return problems + ([] if crosshair(half) else [f"no green plus at the centre of {half.size}"])


def crosshair(half):
    """The HUD's green plus at the centre of a half."""
    cx, cy = half.width // 2, half.height // 2
    arms = [count(region(half, x - 2, y - 2, 5, 5), hud_green) for x, y in
            ((cx, cy - 9), (cx, cy + 9), (cx - 7, cy), (cx + 7, cy), (cx, cy), (cx + 9, cy + 9))]
    return all(arms[:5]) and not arms[5]


def crosshairs(picture):
    """The HUD's green plus at the centre of both halves."""
    return all(crosshair(half) for half in halves(picture))


def brightness(picture):
    """Mean r + g + b."""
    return sum(ImageStat.Stat(picture).mean)


def difference(before, after):
    """Mean absolute difference per channel value."""
    return brightness(ImageChops.difference(before, after)) / 3


def ripple(picture):
    """Mean second difference of r + g + b along rows: the detail a picture drawn at lower resolution and filtered
    up has lost."""
    data, w = [sum(rgb) for rgb in picture.getdata()], picture.width
    return sum(abs(2 * data[i] - data[i - 1] - data[i + 1]) for i in range(1, len(data) - 1) if 0 < i % w < w - 1) / (
        len(data))


def ink(picture, reach=4):
    """Dark pixels with lit rock `reach` pixels left and right, per lit rock pixel: the dark bands that cel shading
    draws where the light falls off, most of them in the normal map's craters."""
    data = list(picture.getdata())
    lit = [sum(rgb) > 150 and rgb[0] >= rgb[2] + 10 for rgb in data]
    inked = sum(1 for i in range(reach, len(data) - reach) if sum(data[i]) < 90 and lit[i - reach] and lit[i + reach])
    return inked / max(1, sum(lit))


def changed(before, after, threshold=48):
    """Share of pixels where some channel moved by more than threshold: what visibly changed, not noise."""
    difference = ImageChops.difference(before, after).convert("RGB").getdata()
    return sum(1 for rgb in difference if max(rgb) > threshold) / (before.width * before.height)


def appeared(before, after, predicate):
    """Pixels that satisfy predicate in `after` and did not in `before`."""
    return sum(1 for old, new in zip(before.getdata(), after.getdata()) if predicate(*new) and not predicate(*old))


def red_gain(before, after):
    """(pixels, mean gain) where `after` got redder than `before`, by 12 or more and by twice what green and blue
    gained, as a laser beam's red rim makes it even when faded."""
    gains = [r2 - r for (r, g, b), (r2, g2, b2) in zip(before.getdata(), after.getdata())
             if r2 - r >= 12 and r2 - r >= 2 * max(g2 - g, b2 - b, 0)]
    return len(gains), sum(gains) / max(len(gains), 1)
