"""Flying both ships, the post-processing effects and the window's life, played on the real binary.

One game runs every check in turn, since start-up and frames are slow under llvmpipe. Thresholds were set on
real screenshots: asteroids spin, so a half that shows them is never quite unchanged. Over a few seconds
a still half changed in about 1 % of its pixels, a half whose ship flew in about 9 %. Flying straight along
-Z from their start, neither ship passes within 60 units of an asteroid (the field is the same on every run).
"""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
import views  # noqa: E402
from harness import Game, WindowManager  # noqa: E402

STILL = 0.025
MOVED = 0.04


class FlightTest(unittest.TestCase):
    def assert_scene_in_both_halves(self, image, asteroids=True):
        for name, half in zip(("upper", "lower"), views.halves(image)):
            self.assertEqual(views.hud_problems(half) + views.space_problems(half, asteroids), [],
                             f"{name} half of a {image.width}x{image.height} window")

    def test_flying_effects_and_window_changes(self):
        with Game(stdin="n\n") as game:
            game.wait_for_window()
            start = game.wait_for_picture(lambda image: not views.space_problems(views.halves(image)[0]),
                                          name="flight-start")
            self.assert_scene_in_both_halves(start)
            upper, lower = views.halves(start)
            # The two cameras stand 20 units apart: the asteroids shift and the enemy arrows point apart.
            self.assertGreater(upper.changed_fraction(lower), 0.01)

            game.key("p")
            views.quarter_turn(game, right=True)
            self.check_contours(game, game.wait_for_still_picture(name="flight-contours-on"))
            self.check_bloom(game)
            views.quarter_turn(game, right=False)  # both ships face -Z again, 20 units apart
            game.key("p")

            self.check_thrust(game, "w", seconds=3, moving=0, still=1)
            # A shorter burst keeps ship2 behind ship1, out of the upper view.
            self.check_thrust(game, "Up", seconds=2, moving=1, still=0)

            self.check_resize_minimise_and_restore(game)
            self.assertEqual(game.quit_with_escape(), 0, game.stdout + game.stderr)

    @staticmethod
    def outline_around_enemy(image):
        """Outline pixels where ship2 shows when ship1 faces it: a little below the upper crosshair."""
        upper, _ = views.halves(image)
        return upper.crop(upper.width // 2 - 100, upper.height // 2 - 15, 200, 90).count(views.is_outline)

    def check_contours(self, game, aimed):
        """ship2, now straight ahead of ship1, is outlined in orange-red only while contours are on."""
        on = self.outline_around_enemy(aimed)
        self.assertGreaterEqual(on, 150)
        game.key("2")
        game.wait_for_output(r"Contours off\n")
        game.wait_for_picture(lambda image: self.outline_around_enemy(image) <= on // 10, timeout=30,
                              name="flight-contours-off")
        game.key("2")
        game.wait_for_output(r"Contours on\n")
        game.wait_for_picture(lambda image: self.outline_around_enemy(image) >= on // 2, timeout=30)

    def check_bloom(self, game):
        """Without bloom, the light a few pixels around the brightest stars drops."""
        on = views.halves(game.screenshot("flight-bloom-on"))
        game.key("1")
        game.wait_for_output(r"Bloom off\n")

        def glow_dropped(image):
            for half_on, half_off in zip(on, views.halves(image)):
                cores = views.star_cores(half_off)
                if len(cores) < 3 or views.ring_brightness(half_off, cores, 6) > 0.93 * views.ring_brightness(
                        half_on, cores, 6):
                    return False
            return True
        game.wait_for_picture(glow_dropped, timeout=30, name="flight-bloom-off")
        game.key("1")
        game.wait_for_output(r"Bloom on\n")

    def check_thrust(self, game, key, seconds, moving, still):
        """Holding a ship's thrust key changes its own half a lot; the other half only shows asteroids spin."""
        before = views.halves(game.wait_for_still_picture(name=f"flight-before-{key}"))
        game.hold(key, seconds)
        after = views.halves(game.screenshot(f"flight-after-{key}"))
        self.assertGreater(before[moving].changed_fraction(after[moving]), MOVED, f"{key}: the flying ship's half")
        self.assertLess(before[still].changed_fraction(after[still]), STILL, f"{key}: the other ship's half")

    def check_resize_minimise_and_restore(self, game):
        def follows_1200_by_700(image):
            # Crosshairs and life bars at the new halves' places, and the area beyond the old width drawn.
            return (image.width == 1200 and all(not views.hud_problems(half) for half in views.halves(image))
                    and image.crop(1024, 0, 176, 700).fraction_lit() > 0.1)
        game.resize(1200, 700)
        resized = game.wait_for_picture(follows_1200_by_700, timeout=30, name="flight-resized")
        self.assert_scene_in_both_halves(resized, asteroids=False)  # both ships have flown on

        with WindowManager(game.xvfb):
            game.key("F2")  # a frame-time line per frame shows the loop going on
            game.wait_for_output(r"Frame time: ")
            game.minimise()
            harness.wait_until(lambda: game.window_state() == "Iconic", 30, what="the window to be minimised")
            frames = game.stdout.count("Frame time: ")
            harness.wait_until(lambda: game.stdout.count("Frame time: ") >= frames + 3, 30,
                               what="frames while minimised")
            game.restore()
            harness.wait_until(lambda: game.window_state() == "Normal", 30, what="the window to be restored")
            game.key("F2")
            restored = game.wait_for_picture(follows_1200_by_700, timeout=30, name="flight-restored")
            self.assert_scene_in_both_halves(restored, asteroids=False)


if __name__ == "__main__":
    harness.main()
