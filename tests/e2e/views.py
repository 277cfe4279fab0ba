"""What a player sees in one half of the window, told apart by colour (calibrated on real screenshots), and the
mouse turn that brings the enemy into view."""


# Mouse steering turns ship1 by (pixels from the centre) / 1000 radians; each move is π/8, and the offsets
# alternate because GLFW drops a cursor report equal to the last one it passed on.
QUARTER_TURN_PIXELS = (392, 393, 392, 393)


def quarter_turn(game, right=True):
    """With mouse steering on (P), turns ship1's view a quarter turn: to the right it faces ship2 at the start."""
    for dx in QUARTER_TURN_PIXELS:
        game.steer_with_mouse(dx if right else -dx)


def halves(image):
    """The upper (ship1) and lower (ship2) halves of a window picture."""
    half = image.height // 2
    return image.crop(0, 0, image.width, half), image.crop(0, half, image.width, half)


def is_rock(rgb):
    """Lit asteroid surface: dull brown, red above blue (the sky's greys and blues are not)."""
    r, g, b = rgb
    return 60 < r < 235 and r >= g >= b - 4 and 14 <= r - b <= 90


def is_star(rgb):
    return min(rgb) >= 170


def is_dark(rgb):
    return sum(rgb) < 120


def is_hud_green(rgb):
    r, g, b = rgb
    return g > 180 and r < 80 and b < 80


def is_outline(rgb):
    """The enemy's contour colour (1.0, 0.35, 0.1), alone or added to what lies under it."""
    r, g, b = rgb
    return r >= 170 and 0.25 * r <= g <= 0.65 * r and b <= 0.4 * r


def is_spark(rgb):
    """Fire particles (most of them): bright red to yellow, with little blue."""
    r, g, b = rgb
    return r >= 190 and b <= 0.45 * r


def share(half, predicate):
    return half.count(predicate) / (half.width * half.height)


def space_problems(half, asteroids=True):
    """What is missing from a half's view of space: an empty list when it shows stars on a dark sky and, unless
    the ship may have flown away from them, asteroids."""
    problems = []
    stars, dark = share(half, is_star), share(half, is_dark)
    if not 0.001 <= stars <= 0.05:
        problems.append(f"stars cover {stars:.4f}")
    if dark < 0.5:
        problems.append(f"dark sky covers {dark:.3f}")
    rock = share(half, is_rock) if asteroids else 1.0
    if rock < 0.03:
        problems.append(f"asteroids cover {rock:.4f}")
    return problems


def appeared(before, after, predicate):
    """Number of pixels that satisfy predicate in `after` but did not in `before` (same size)."""
    return sum(1 for old, new in zip(before.pixels(), after.pixels()) if predicate(new) and not predicate(old))


def red_gain(before, after):
    """Where `after` got redder than `before` (red up by 12 or more and by at least twice what green and blue
    gained), as a laser beam's red rim makes it even when faded: (pixel count, mean red gain)."""
    gains = [r2 - r for (r, g, b), (r2, g2, b2) in zip(before.pixels(), after.pixels())
             if r2 - r >= 12 and r2 - r >= 2 * max(g2 - g, b2 - b, 0)]
    return len(gains), sum(gains) / max(len(gains), 1)


def _green_near(half, x, y, reach=2):
    return half.crop(x - reach, y - reach, 2 * reach + 1, 2 * reach + 1).count(is_hud_green) > 0


def hud_problems(half):
    """What is wrong with a half's crosshair (a green plus at its centre) and full life bar (green, centred,
    between 87.5 % and 92.5 % of its height)."""
    problems = []
    cx, cy = half.width // 2, half.height // 2
    arms = [(cx, cy - 9), (cx, cy + 9), (cx - 7, cy), (cx + 7, cy), (cx, cy)]
    if not all(_green_near(half, x, y) for x, y in arms):
        problems.append(f"no green plus at ({cx}, {cy})")
    if _green_near(half, cx + 9, cy + 9):
        problems.append("the crosshair is not a plus")
    bar = half.crop(cx - half.width // 16, int(0.9 * half.height) - 2, half.width // 8, 5)
    if share(bar, is_hud_green) < 0.95:
        problems.append(f"no full green life bar around ({cx}, {int(0.9 * half.height)})")
    return problems


def ring_brightness(image, cores, radius):
    """Mean r + g + b at eight points `radius` pixels around each core: the glow that bloom spreads."""
    d = radius * 7 // 10
    ring = ((radius, 0), (-radius, 0), (0, radius), (0, -radius), (d, d), (-d, d), (d, -d), (-d, -d))
    samples = [sum(image.pixel(x + dx, y + dy)) for x, y in cores for dx, dy in ring
               if 0 <= x + dx < image.width and 0 <= y + dy < image.height]
    return sum(samples) / max(len(samples), 1)


def star_cores(image, step=4):
    """Pixels of saturated stars on a coarse grid, enough to sample the glow around them."""
    return [(x, y) for y in range(0, image.height, step) for x in range(0, image.width, step)
            if min(image.pixel(x, y)) >= 240]
