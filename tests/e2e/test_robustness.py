"""Bad input, broken installs and a window pushed around: the game ends with its own message or plays on."""

import contextlib
import glob
import os
import random
import re
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import Game, WindowManager, Xvfb  # noqa: E402

ASK = "Fullscreen? (y|n) "
WIDTH = "Monitor width: "
HEIGHT = "Monitor height: "
AGAIN = "Input invalid. Try again. "
ENDED = "\nStandard input ended before the start-up questions were answered.\n"
NO_WINDOW = "Failed to open window\n"
NO_MODEL = "Could not load model. "
NO_IMAGE = r"FIF_UNKNOWN|Failed to load dib"
HELP_END = r"F10: .*\n"  # the last help line: set-up is through
FRAME = r"Frame time: "
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
MEGABYTE = 1 << 20


def garbage(seed, size):
    """Seeded bytes without NUL, so a shader compiler sees all of them."""
    return bytes(byte or 1 for byte in random.Random(seed).randbytes(size))


def shows_the_hud(image):
    """Both halves' green life bars, drawn over whatever the scene shows (black where textures are empty)."""
    def green(x, y):
        r, g, b = image.pixel(x, y)
        return g > 150 and r < 100 and b < 100
    return image.height >= 768 and green(512, 345) and green(512, 729)


def fills_the_window(image):
    """The HUD where the 1024 x 768 layout puts it and the scene in every quarter of the window: neither a
    blank corner an old size left nor one colour stretched from a tiny frame buffer or the white clear."""
    half_w, half_h = image.width // 2, image.height // 2
    return shows_the_hud(image) and all(0.1 < image.crop(x, y, half_w, half_h).fraction_lit() < 0.95
                                        for x in (0, half_w) for y in (0, half_h))


class DialogueTest(unittest.TestCase):
    """Whatever arrives on standard input, the dialogue ends with its message and code 1, never a signal."""

    @classmethod
    def setUpClass(cls):
        cls.xvfb = Xvfb()  # only the sizes that reach window creation need it

    @classmethod
    def tearDownClass(cls):
        cls.xvfb.close()

    def assert_ends(self, stdin, console, code=1):
        with Game(stdin=stdin, xvfb=self.xvfb) as game:
            self.assertEqual(game.wait_exit(30), code, game.stderr)
            self.assertEqual(game.stdout, console)

    def test_input_ending_at_each_question(self):
        for stdin, console in (("", ASK), ("y\n", ASK + WIDTH), ("y\n800\n", ASK + WIDTH + HEIGHT)):
            with self.subTest(stdin=stdin):
                self.assert_ends(stdin, console + ENDED)

    def test_binary_garbage_is_refused_word_by_word(self):
        answer = garbage("answer", 64 * 1024)
        words = answer.split()  # C++ >> splits on the same six blanks as bytes.split()
        self.assertNotIn(b"y", words)
        self.assertNotIn(b"n", words)
        self.assert_ends(answer, ASK + (AGAIN + ASK) * len(words) + ENDED)
        width_line = b"\xff\xfe\x00800\n"  # no digits before the garbage: not a number
        self.assert_ends(b"y\n" + width_line, ASK + WIDTH + AGAIN + WIDTH + ENDED)

    def test_a_megabyte_line_is_one_wrong_answer(self):
        self.assert_ends(b"q" * MEGABYTE + b"\n", ASK + AGAIN + ASK + ENDED)
        self.assert_ends(b"y\n" + b"9" * MEGABYTE + b"\n", ASK + WIDTH + AGAIN + WIDTH + ENDED)

    def test_numbers_beyond_int_are_refused(self):
        self.assert_ends("y\n2147483648\n-2147483649\n", ASK + (WIDTH + AGAIN) * 2 + WIDTH + ENDED)

    def test_sides_no_window_can_have_fail_to_open_it(self):
        for width, height in ((-800, 600), (800, -1), (-2147483648, 600), (2147483647, 2147483647),
                              (16385, 600), (65536, 65536)):
            with self.subTest(width=width, height=height):
                self.assert_ends(f"y\n{width}\n{height}\n", ASK + WIDTH + HEIGHT + NO_WINDOW)


def damaged(data, how, seed):
    """The file's new content for each kind of damage; None: the file is gone."""
    return {"missing": None, "empty": b"", "truncated": data[:len(data) // 2],
            "random": garbage(seed, len(data))}[how]


DAMAGE = ("missing", "empty", "truncated", "random")
READS_PER_IMAGE = {"ship_hull.jpg": 2}  # each ship loads its own hull model with its texture


class BrokenInstallTest(unittest.TestCase):
    """A copy of the run-time folder with one file (or one kind of file) damaged at a time."""

    @classmethod
    def setUpClass(cls):
        cls.workdir = tempfile.mkdtemp(prefix="voidskirmish-install-")
        shutil.copytree(os.path.join(ROOT, "Voidskirmish"), os.path.join(cls.workdir, "Voidskirmish"))
        cls.xvfb = Xvfb()

    @classmethod
    def tearDownClass(cls):
        cls.xvfb.close()
        shutil.rmtree(cls.workdir)

    def files(self, pattern):
        return sorted(os.path.relpath(path, self.workdir)
                      for path in glob.glob(os.path.join(self.workdir, pattern), recursive=True))

    @contextlib.contextmanager
    def broken(self, paths, how):
        """The files damaged for the time of the `with` block."""
        originals = {}
        try:
            for path in paths:
                full = os.path.join(self.workdir, path)
                with open(full, "rb") as file:
                    originals[full] = file.read()
                content = damaged(originals[full], how, path)
                os.remove(full)
                if content is not None:
                    with open(full, "wb") as file:
                        file.write(content)
            yield
        finally:
            for full, data in originals.items():
                with open(full, "wb") as file:
                    file.write(data)

    def game(self, **options):
        return Game(stdin="n\n", cwd=self.workdir, xvfb=self.xvfb, **options)

    def test_each_damaged_shader_ends_start_up_with_its_message(self):
        shaders = self.files("Voidskirmish/Shader/*")
        self.assertEqual(len(shaders), 20)
        for path in shaders:
            for how in DAMAGE:
                with self.subTest(path=path, how=how), self.broken([path], how), self.game() as game:
                    self.assertEqual(game.wait_exit(60), 1, game.stderr)
                    self.assertEqual(game.stdout, ASK)
                    if how == "missing":
                        self.assertEqual(game.stderr,
                                         f"Failed to link shader program\nCould not read shader file {path}\n")
                    else:  # the driver's log follows the game's line
                        self.assertRegex(game.stderr, r"(?s)^( Failed to compile shader|Failed to link shader "
                                                      r"program)\n.*\S")

    def test_each_damaged_model_ends_the_game_when_it_is_loaded(self):
        models = self.files("Voidskirmish/Material/*.dae")
        self.assertEqual(len(models), 5)
        for path in models:
            for how in DAMAGE:
                with self.subTest(path=path, how=how), self.broken([path], how), self.game() as game:
                    if path.endswith("cylinder.dae"):
                        # The beam's model is read at the first shot, once the game runs.
                        game.wait_for_output(HELP_END)
                        game.wait_for_window()
                        game.key_down("space")
                        try:
                            self.assertEqual(game.wait_exit(90), 1)
                        finally:
                            game.key_up("space")
                        self.assertTrue(game.stdout.endswith(NO_MODEL), game.stdout)
                    else:
                        self.assertEqual(game.wait_exit(60), 1)
                        self.assertEqual(game.stdout, ASK + NO_MODEL)
                    self.assertEqual(game.stderr, "")

    def test_damaged_images_leave_their_textures_empty_and_the_game_plays_on(self):
        images = self.files("Voidskirmish/Material/Textures/**/*.*")
        self.assertEqual(len(images), 9)
        for how in DAMAGE:
            # libjpeg pads a cut-off JPEG with grey rows, so only the cut PNG is refused.
            refused = [path for path in images if how != "truncated" or not path.endswith(".jpg")]
            messages = sum(READS_PER_IMAGE.get(os.path.basename(path), 1) for path in refused)
            with self.subTest(how=how), self.broken(images, how), \
                    self.game(env={"VOIDSKIRMISH_GL_DEBUG": "1"}) as game:
                game.wait_for_output(HELP_END)
                self.assertEqual(len(re.findall(NO_IMAGE, game.stdout)), messages, game.stdout)
                game.wait_for_window()
                game.wait_for_picture(shows_the_hud, name=f"robust-images-{how}")
                self.assertTrue(game.running())
                self.assertEqual(game.quit_with_escape(), 0, game.stderr)
                self.assertIn("GL errors: 0\n", game.stderr)


class WindowTest(unittest.TestCase):
    def wait_frames(self, game, count=2, timeout=90):
        """Waits until the game has run `count` more frames (it prints a frame-time line each)."""
        game.wait_for_count(FRAME, len(re.findall(FRAME, game.stdout)) + count, timeout)

    def test_resizing_minimising_and_the_close_button(self):
        xvfb = Xvfb()
        self.addCleanup(xvfb.close)
        self.addCleanup(WindowManager(xvfb).close)
        with Game(stdin="n\n", xvfb=xvfb, env={"VOIDSKIRMISH_GL_DEBUG": "1"}) as game:
            game.wait_for_window()
            game.wait_for_picture(fills_the_window, name="robust-window-start")
            game.key_down("F2")  # frame-time lines from now on, to count frames by
            game.wait_for_output(FRAME)
            game.key_up("F2")

            for width, height in ((1, 1), (1, 700), (900, 1), (3, 5), (1023, 767), (1600, 1200), (1, 1),
                                  (1024, 768)):
                with self.subTest(width=width, height=height):
                    game.resize(width, height)
                    self.assertEqual(game.geometry()[2:], (width, height))
                    self.wait_frames(game)
                    self.assertTrue(game.running())
            game.wait_for_picture(fills_the_window, name="robust-window-resized-back")

            game.minimise()
            self.assertEqual(game.window_state(), "Iconic")
            self.wait_frames(game)
            game.restore()
            self.assertEqual(game.window_state(), "Normal")
            self.wait_frames(game)
            game.wait_for_picture(fills_the_window, name="robust-window-restored")

            game.close_window()
            self.assertEqual(game.wait_exit(60), 0, game.stderr)
            self.assertIn("GL errors: 0\n", game.stderr)


if __name__ == "__main__":
    harness.main()
