"""The toggle keys, the help text and mouse steering of the real game, all in one game.

Each key's console line is checked to the byte, and each effect where it shows: bloom, cel shading, normal
mapping and wire frame in the start view, contours, particles and the beam with ship1 turned by mouse to face
ship2, the sampling mode close in front of the largest asteroid. F2 stays on from early on: its line per frame
is the clock every later step waits on, since frames take about half a second here and a key or a change of
the picture shows only in the frame after the one that saw it.
"""

import os
import re
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import Game  # noqa: E402

ASK = "Fullscreen? (y|n) "
FRAME_TIME = re.compile(r"^Frame time: (\d+(?:\.\d+)?(?:e-?\d+)?)\t \| FPS: (\d+(?:\.\d+)?(?:e[+-]?\d+)?)$", re.M)
CULLED = re.compile(r"^Objects culled for ship1 \(top\): (\d+) / (\d+)$", re.M)
CENTRE = (512, 384)

# Window regions (x, y, width, height). In the start pose of the upper half:
STAR_GLOW = (570, 115, 50, 50)  # a bright star of the sky and the glow around it
SKY = (60, 130, 160, 100)  # starfield only
ASTEROID = (670, 140, 90, 80)  # inside the large asteroid right of the crosshair
UPPER = (0, 0, 1024, 384)
LOWER = (0, 384, 1024, 384)
# Upper half once ship1 faces ship2, 20 units away:
ENEMY = (420, 170, 180, 100)  # ship2 with its contour
HIT = (472, 195, 80, 50)  # where the shots hit it
BEAM = (498, 262, 28, 70)  # the beam on its way there, below the line of fire
# Upper half close in front of the large asteroid:
APPROACH = (312, 40, 400, 300)
SURFACE = (432, 112, 160, 140)

# The mouse turns that face ship2 (a quarter turn right, 392 + 393 + 392 + 393 px = pi/2 rad) and then the large
# asteroid (1.066 rad left and a little up). GLFW drops a cursor event at the same place as the previous one, so
# two moves in a row never go to the same pixel.
TO_SHIP2 = [(904, 384), (905, 384), (904, 384), (905, 384)]
TO_ASTEROID = [(120, 384), (119, 384), (231, 357)]


def help_text(frame_time="off", wireframe="off", sampling="billinear", mipmap="linear", culling="off",
              blending="on", life_points="off"):
    return ("\n"
            "HELP:\n"
            "----- Controls -----------\n"
            "SHIP1\n"
            "\tW: move forward\n"
            "\tA: rotate left\n"
            "\tS: move back\n"
            "\tD: rotate right\n"
            "\tF: rotate up\n"
            "\tT: rotate down\n"
            "\tSPACE: laser gun\n"
            "SHIP2\n"
            "\tUP: move forward\n"
            "\tLEFT: rotate left\n"
            "\tDOWN: move back\n"
            "\tRIGHT: rotate right\n"
            "\tKP 8: rotate down\n"
            "\tKP 4: rotate up\n"
            "\tKP 0: laser gun\n"
            "----- Debug controls -----\n"
            "P: move top ship with mouse\n"
            "ENTER: set all ships' lifes to max\n"
            "----- Toggle effects -----\n"
            "1: Bloom\n"
            "2: Contours\n"
            "3: Normal mapping\n"
            "4: Particles\n"
            "5: Cel shading\n"
            "----- Functions ----------\n"
            "F1: Help\n"
            f"F2: Frame time on/off | Current: {frame_time}\n"
            f"F3: Wire frame on/off | Current: {wireframe}\n"
            f"F4: Texture sampling quality (nearest neighbor/bilinear) | Current: {sampling}\n"
            f"F5: Mip mapping quality (off/nearestneighbor/linear) | Current: {mipmap}\n"
            f"F8: View frustum culling on/off | Current: {culling}\n"
            f"F9: Blending on/off | Current: {blending}\n"
            f"F10: Life points outside of boundary sphere on/off | Current: {life_points}\n"
            "\n")


# --- picture measures ------------------------------------------------------------------------------------------

def pixels(image):
    return zip(image.rgb[0::3], image.rgb[1::3], image.rgb[2::3])


def count(image, predicate):
    return sum(1 for pixel in pixels(image) if predicate(*pixel))


def brightness(image):
    return sum(image.mean())


def steps(image):
    """Brightness differences of horizontally neighbouring pixels."""
    values = [r + g + b for r, g, b in pixels(image)]
    width = image.width
    return [abs(values[i + 1] - values[i]) for row in range(0, len(values), width)
            for i in range(row, row + width - 1)]


def blockiness(image):
    """Flat neighbours per neighbours one brightness level apart. Bilinear filtering spreads the change between
    texels into ramps of such small steps; nearest neighbour keeps each texel flat and jumps at its edge."""
    found = steps(image)
    return sum(1 for step in found if step == 0) / max(1, sum(1 for step in found if step == 1))


def edge_share(image):
    """Share of neighbours that differ clearly, such as the lines of a wire frame."""
    found = steps(image)
    return sum(1 for step in found if step >= 24) / len(found)


def ink(image, reach=4):
    """Dark pixels with lit rock on both sides, per lit rock pixel: the dark bands that cel shading draws where
    the light falls off, most of them in the craters of the normal map. Dark sky at an asteroid's rim does not
    count, so spinning outlines hardly change it; over all asteroids of a half it is a steady measure."""
    values = [r + g + b for r, g, b in pixels(image)]
    lit = [rock(*pixel) for pixel in pixels(image)]
    width, found = image.width, 0
    for row in range(0, len(values), width):
        middle = values[row + reach:row + width - reach]
        left, right = lit[row:row + width - 2 * reach], lit[row + 2 * reach:row + width]
        found += sum(1 for value, rock_left, rock_right in zip(middle, left, right)
                     if value < 90 and rock_left and rock_right)
    return found / max(1, sum(lit))


def clear_grey(r, g, b):  # the scene frame buffer's clear colour, seen where a wire frame leaves gaps
    return all(abs(channel - 51) <= 4 for channel in (r, g, b))


def contour(r, g, b):  # the orange outline of the enemy ship; fire particles share its colours
    return r > 180 and r - b > 100


def beam(r, g, b):
    return r > 150 and g < 120 and b < 100


def rock(r, g, b):  # lit asteroid surface: warm, not dark; the sky is dark or bluish
    return r + g + b > 150 and r >= b + 10


def mean(values):
    values = list(values)
    return sum(values) / len(values)


class ToggleGame:
    """The running game with the console and picture helpers the steps share."""

    def __init__(self, game):
        self.game = game

    def wait_for(self, regex, since=0, timeout=60, what=None):
        """Waits for a match in standard output at or after `since`; returns the match."""
        regex = re.compile(regex, re.M) if isinstance(regex, str) else regex
        return harness.wait_until(lambda: regex.search(self.game.stdout, since), timeout, interval=0.05,
                                  what=what or f"{regex.pattern!r} on standard output")

    def press(self, key, line):
        """Holds the key until its exact console line appears; returns where the output after it starts."""
        since = len(self.game.stdout)
        self.game.key_down(key)
        try:
            return self.wait_for(rf"^{re.escape(line)}\n", since, what=f"{line!r} after {key}").end()
        finally:
            self.game.key_up(key)

    def frames(self, count, since=None):
        """Waits until `count` frames have ended after the position `since` (default: now); returns the end."""
        since = len(self.game.stdout) if since is None else since
        match = self.wait_for(rf"(?:^Frame time: [^\n]*\n(?:(?!Frame time)[^\n]*\n)*){{{count}}}", since,
                              what=f"{count} frames")
        return match.end()

    def frame_time_on(self):
        """F2 prints nothing itself: holds it until frame-time lines flow; returns where they start."""
        since = len(self.game.stdout)
        self.game.key_down("F2")
        try:
            self.wait_for(FRAME_TIME, since)
        finally:
            self.game.key_up("F2")
        return since

    def hold_for_frame(self, key):
        """Holds a key that prints nothing until a frame has seen it."""
        self.game.key_down(key)
        try:
            self.frames(1)
        finally:
            self.game.key_up(key)

    def shots(self, name, count=2):
        """`count` pictures one frame apart, the first a whole frame after the last key (only it is kept as a PNG)."""
        pictures = []
        for index in range(count):
            self.frames(2 if index == 0 else 1)
            pictures.append(self.game.screenshot(f"toggles-{name}" if index == 0 else None))
        return pictures

    def toggled(self, name, key, first_line, second_line, count=2):
        """Pictures before the key, after its first press and after its second: three lists of `count`."""
        before = self.shots(f"{name}-before", count)
        self.press(key, first_line)
        first = self.shots(f"{name}-{first_line.split()[-1]}", count)
        self.press(key, second_line)
        return before, first, self.shots(f"{name}-{second_line.split()[-1]}", count)

    def pointer(self):
        values = dict(line.split("=", 1) for line in self.game.xdotool("getmouselocation", "--shell").split())
        x, y = self.game.geometry()[:2]
        return int(values["X"]) - x, int(values["Y"]) - y

    def steer(self, x, y):
        """Moves the mouse with steering on and waits until the game has put the cursor back to the centre."""
        self.game.move_mouse(x, y)
        harness.wait_until(lambda: self.pointer() == CENTRE, 30, interval=0.1,
                           what=f"the cursor back at the centre after a move to ({x}, {y})")


def measure(pictures, region, measure_of):
    return mean(measure_of(picture.crop(*region)) for picture in pictures)


class TogglesTest(unittest.TestCase):
    def test_toggles_help_and_mouse_in_one_game(self):
        with Game(stdin="n\n") as game:
            self.game, self.play = game, ToggleGame(game)
            game.wait_for_window()
            self.check_help_at_start()
            self.check_frame_time_and_culling_lines()
            self.check_effect_toggles()
            self.check_mode_keys()
            self.check_mouse_steering_and_firing()
            self.check_sampling_close_up()
            self.check_help_on_f1()
            self.assertEqual(game.quit_with_escape(), 0, game.stderr)

    def check_help_at_start(self):
        expected = ASK + help_text()
        self.game.wait_for_output(re.escape(expected))
        self.assertEqual(self.game.stdout[:len(expected)], expected)
        self.game.wait_for_picture(lambda image: image.crop(*UPPER).fraction_lit() > 0.2
                                   and image.crop(*LOWER).fraction_lit() > 0.2, name="toggles-start")

    def check_frame_time_and_culling_lines(self):
        play = self.play
        # F2 prints nothing itself: every line after it is a frame-time line, one per frame.
        since = play.frame_time_on()
        end = play.frames(3, since)
        lines = self.game.stdout[since:end].splitlines()
        self.assertGreaterEqual(len(lines), 3)
        for line in lines:
            match = FRAME_TIME.fullmatch(line)
            self.assertIsNotNone(match, f"not a frame-time line: {line!r}")
            seconds, fps = float(match.group(1)), float(match.group(2))
            self.assertGreater(seconds, 0.0)
            self.assertAlmostEqual(fps * seconds, 1.0, delta=1e-4, msg=line)

        # Culling: one line per frame, printed when the upper half is drawn, after the frame-time line.
        after = play.press("F8", "Frustum culling on")
        end = play.frames(4, after)
        lines = self.game.stdout[after:end].splitlines()
        culled = [CULLED.fullmatch(line) for line in lines[1::2]]
        self.assertTrue(all(FRAME_TIME.fullmatch(line) for line in lines[0::2]), lines)
        self.assertTrue(all(culled), lines)
        counts = {int(match.group(1)) for match in culled}
        self.assertEqual({int(match.group(2)) for match in culled}, {102})
        # Nothing moves yet and asteroids only spin in place: the same objects are outside the view every frame,
        # most of the field (it lies all around the start) and ship2, beside and just behind the camera.
        self.assertEqual(len(counts), 1, lines)
        culled = counts.pop()
        self.assertTrue(50 < culled < 100, culled)

        # F2 again: the culling lines go on alone, two in a row once a frame has printed no frame time.
        since = len(self.game.stdout)
        self.game.key_down("F2")
        try:
            stopped = play.wait_for(r"^Objects culled[^\n]*\nObjects culled[^\n]*\n", since).start()
        finally:
            self.game.key_up("F2")
        end = play.wait_for(r"(?:^Objects culled[^\n]*\n){4}", stopped).end()
        self.assertNotIn("Frame time", self.game.stdout[stopped:end])

        since = play.frame_time_on()
        after = play.press("F8", "Frustum culling off")
        end = play.frames(3, after)
        self.assertNotIn("Objects culled", self.game.stdout[after:end])

    def check_effect_toggles(self):
        play = self.play
        # Bloom: the glow around bright stars goes and comes back; the sky itself does not move.
        glow = [brightness(pictures[0].crop(*STAR_GLOW))
                for pictures in play.toggled("bloom", "1", "Bloom off", "Bloom on", 1)]
        self.assertLess(glow[1], glow[0] - 5, glow)
        self.assertAlmostEqual(glow[2], glow[0], delta=1.5, msg=glow)

        # Cel shading: the light on the asteroids falls off in bands edged with dark ink, the sky in toon rings;
        # without it both are smooth. Asteroids spin between frames: their measure is an average over two.
        before, off, on = play.toggled("cel", "5", "Cel shading off", "Cel shading on")
        bands = [measure(pictures, UPPER, ink) for pictures in (before, off, on)]
        self.assertLess(bands[1], 0.3 * min(bands[0], bands[2]), bands)
        self.assertGreater(off[0].crop(*SKY).mean_difference(before[0].crop(*SKY)), 2.0)
        self.assertLess(on[0].crop(*SKY).mean_difference(before[0].crop(*SKY)), 0.5)

        # Normal mapping: the craters' shading, and with it most of their ink, goes; the sky is not normal-mapped
        # and stays exactly as it was.
        before, off, on = play.toggled("normal", "3", "Normal mapping off", "Normal mapping on")
        craters = [measure(pictures, UPPER, ink) for pictures in (before, off, on)]
        self.assertLess(craters[1], 0.8 * min(craters[0], craters[2]), craters)
        self.assertLess(off[0].crop(*SKY).mean_difference(before[0].crop(*SKY)), 0.5)

        # Wire frame: the sky box shrinks to a few edges over the clear colour, the asteroids to dense lines.
        before, on, off = (pictures[0] for pictures in play.toggled("wireframe", "F3", "Wireframe on",
                                                                   "Wireframe off", 1))
        sky = on.crop(*SKY)
        self.assertGreater(count(sky, clear_grey) / (sky.width * sky.height), 0.9)
        self.assertLess(count(before.crop(*SKY), clear_grey) / (sky.width * sky.height), 0.2)
        self.assertGreater(edge_share(on.crop(*ASTEROID)), 3 * edge_share(before.crop(*ASTEROID)))
        self.assertLess(off.crop(*SKY).mean_difference(before.crop(*SKY)), 0.5)

    def check_mode_keys(self):
        # Contours show only around an enemy on screen: their picture is checked once ship2 is in view.
        for key, lines in (("2", ["Contours off", "Contours on"]),
                           ("F4", ["Texture sampling quality nearest neighbor", "Texture sampling quality billinear"]),
                           ("F5", ["Mipmap mode off", "Mipmap mode nearest neighbor", "Mipmap mode linear"]),
                           ("F9", ["Blending off", "Blending on"]),
                           ("F10", ["Life points changes on", "Life points changes off", "Life points changes on"])):
            for line in lines:
                since = len(self.game.stdout)
                after = self.play.press(key, line)
                # Exactly one line for one press, and no other output than the frame times.
                self.play.frames(1, after)
                printed = [text for text in self.game.stdout[since:].splitlines() if not FRAME_TIME.fullmatch(text)]
                self.assertEqual(printed, [line])

    def check_mouse_steering_and_firing(self):
        play, game = self.play, self.game
        # Steering is off: the cursor stays where it is moved and nothing turns.
        game.move_mouse(612, 384)
        play.frames(2)
        self.assertEqual(play.pointer(), (612, 384))
        game.move_mouse(*CENTRE)
        play.hold_for_frame("p")
        before = play.shots("mouse-before", 1)[0]
        for x, y in TO_SHIP2:
            play.steer(x, y)
        after = play.shots("mouse-facing-ship2", 1)[0]
        spin = after.crop(*LOWER).mean_difference(before.crop(*LOWER))
        turn = after.crop(*UPPER).mean_difference(before.crop(*UPPER))
        self.assertLess(spin, 4.0)
        self.assertGreater(turn, 4 * spin)
        # Ship2 is now straight ahead, outlined by its contour.
        self.assertGreater(count(after.crop(*ENEMY), contour), 300)

        play.press("2", "Contours off")
        plain = play.shots("contours-off", 1)[0]
        self.assertLess(count(plain.crop(*ENEMY), contour), 10)

        # The beam is drawn with the blending the last particle draw left, and its alpha is the time it has
        # left: at two frames a second that is about 0 already in the first frame. Opaque, it shows.
        play.press("F9", "Blending off")
        play.press("4", "Particle effects off")
        without = self.fire("fire-without-particles")
        self.assertGreater(max(count(picture.crop(*BEAM), beam) for picture in without), 50)
        self.assertLessEqual(max(count(picture.crop(*HIT), contour) for picture in without), 3)

        # A burst lives 1.5 s: a frame longer than that, on a busy machine, ends it before it is ever drawn.
        play.press("4", "Particle effects on")
        for _ in range(3):
            burst = max(count(picture.crop(*HIT), contour) for picture in self.fire("fire-with-particles"))
            if burst > 20:
                break
        self.assertGreater(burst, 20)

        play.press("2", "Contours on")
        outlined = play.shots("contours-on", 1)[0]
        self.assertGreater(count(outlined.crop(*ENEMY), contour), 300)

    def fire(self, name):
        """Left click at ship2: waits for the hit, then takes pictures for three frames while beam and burst last."""
        since = len(self.game.stdout)
        self.game.click(1)
        hit = self.play.wait_for(r"^Enemy life points decreased from \d+ to \d+\n", since).end()
        pictures = []
        while len(FRAME_TIME.findall(self.game.stdout, hit)) < 3:
            pictures.append(self.game.screenshot())
        best = max(pictures, key=lambda picture: count(picture.crop(*BEAM), beam) + count(picture.crop(*HIT), contour))
        best.save_png(os.path.join(harness.screenshot_dir(), f"toggles-{name}.png"))
        return pictures

    def check_sampling_close_up(self):
        play, game = self.play, self.game
        for x, y in TO_ASTEROID:
            play.steer(x, y)
        # Short thrusts, each left to coast out, until the ship touches the asteroid's collision sphere: that is as
        # close as it gets. The touch sets it back by its last step and it drifts off a little at half that slow
        # speed; once its three seconds of lock and its debris are over it faces the surface from close by.
        for _ in range(20):
            since = len(game.stdout)
            play.hold_for_frame("w")
            play.frames(5)
            if "Enemy life points decreased" in game.stdout[since:]:
                break
        else:
            self.fail("ship1 never reached the large asteroid")
        play.frames(8)
        near = play.shots("close-up", 1)[0]
        self.assertGreater(count(near.crop(*APPROACH), rock) / (APPROACH[2] * APPROACH[3]), 0.35,
                           "the large asteroid is not close")

        # Nearest neighbour shows texels as flat blocks, bilinear as smooth ramps. With mipmaps most of the surface,
        # even this close, is drawn from smaller levels through the minifying filter, which the sampling mode
        # leaves alone; without them both filters follow it.
        play.press("F5", "Mipmap mode off")
        blocks = [measure(play.shots("sampling-0-billinear"), SURFACE, blockiness)]
        for index, mode in enumerate(("nearest neighbor", "billinear", "nearest neighbor"), 1):
            play.press("F4", f"Texture sampling quality {mode}")
            blocks.append(measure(play.shots(f"sampling-{index}-{mode.split()[0]}"), SURFACE, blockiness))
        for nearest, bilinear in ((1, 0), (1, 2), (3, 2)):
            self.assertGreater(blocks[nearest], 1.5 * blocks[bilinear], blocks)

    def check_help_on_f1(self):
        since = len(self.game.stdout)
        self.game.key_down("F1")
        try:
            self.play.wait_for(re.escape(help_text(frame_time="on", sampling="nearest neighbor", mipmap="off",
                                                   blending="off", life_points="on")),
                               since, what="the help with current values")
        finally:
            self.game.key_up("F1")


if __name__ == "__main__":
    harness.main()
