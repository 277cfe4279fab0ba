"""The start-up dialogue, the window and the way the game ends, seen from outside."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import Game  # noqa: E402

ASK = "Fullscreen? (y|n) "
WIDTH = "Monitor width: "
HEIGHT = "Monitor height: "
AGAIN = "Input invalid. Try again. "


def shows_a_picture(image):
    return image.fraction_lit() > 0.02


class WindowedGameTest(unittest.TestCase):
    def test_window_is_1024_by_768_shows_a_picture_follows_a_resize_and_escape_ends_it(self):
        with Game(stdin="n\n") as game:
            game.wait_for_window()
            self.assertEqual(game.geometry()[2:], (1024, 768))
            self.assertEqual(game.stdout[:len(ASK)], ASK)
            game.wait_for_picture(shows_a_picture, name="shell-windowed")

            # The part of the window that was not there before is drawn too once the game follows the new size.
            game.resize(1200, 900)
            self.assertEqual(game.geometry()[2:], (1200, 900))
            game.wait_for_picture(lambda image: shows_a_picture(image) and image.crop(1024, 0, 176, 900)
                                  .fraction_lit() >= 0.25 * image.fraction_lit(), name="shell-resized")
            self.assertTrue(game.running())

            self.assertEqual(game.quit_with_escape(), 0, game.stdout + game.stderr)


class DialogueTest(unittest.TestCase):
    def test_wrong_answers_are_asked_again_on_the_same_line_then_full_screen_runs(self):
        stdin = "Y\nyes\n\ny 640 480\nabc\n\n99999999999\n800abc\n600\n"
        with Game(stdin=stdin) as game:
            game.wait_for_window()
            expected = ASK + AGAIN + ASK + AGAIN + ASK + WIDTH + (AGAIN + WIDTH) * 3 + HEIGHT
            self.assertEqual(game.stdout[:len(expected)], expected)
            # Full screen on Xvfb always gets the screen's one mode, whatever size was asked.
            self.assertEqual(game.geometry()[2:], harness.SCREEN)
            game.wait_for_picture(shows_a_picture, name="shell-fullscreen")
            self.assertEqual(game.quit_with_escape(), 0, game.stdout + game.stderr)

    def test_input_ending_before_the_answers_ends_the_game_with_code_1(self):
        ended = "\nStandard input ended before the start-up questions were answered.\n"
        for stdin, console in (("", ASK), ("y\n800\n", ASK + WIDTH + HEIGHT)):
            with self.subTest(stdin=stdin), Game(stdin=stdin) as game:
                self.assertEqual(game.wait_exit(30), 1)
                self.assertEqual(game.stdout, console + ended)


class FailedStartTest(unittest.TestCase):
    def test_a_size_the_window_cannot_have_fails_cleanly_with_code_1(self):
        for width, height in ((-5, 600), (800, 0)):
            with self.subTest(width=width, height=height), Game(stdin=f"y\n{width}\n{height}\n") as game:
                self.assertEqual(game.wait_exit(30), 1, game.stderr)
                self.assertEqual(game.stdout, ASK + WIDTH + HEIGHT + "Failed to open window\n")
                self.assertEqual(game.stderr, "A window side must be between 1 and 16384 pixels\n")

    def test_glfw_says_why_it_cannot_start_or_open_the_window(self):
        for options, code, message, reason in (
                ({"display": False}, 255, "Failed to init glfw\n", "X11: The DISPLAY environment variable is missing"),
                ({"env": {"MESA_GL_VERSION_OVERRIDE": "3.3"}}, 1, "Failed to open window\n", "GLX: .+")):
            with self.subTest(reason=reason), Game(stdin="n\n", **options) as game:
                self.assertEqual(game.wait_exit(30), code)
                self.assertEqual(game.stdout, ASK + message)
                self.assertRegex(game.stderr, f"^GLFW: {reason}\n$")


if __name__ == "__main__":
    harness.main()
