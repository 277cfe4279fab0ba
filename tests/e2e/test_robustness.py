"""Bad input, broken installs and a window pushed around: the game ends with its own message or plays on."""

import contextlib
import glob
import os
import pathlib
import random
import re
import shutil
import struct
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
TEXTURES = "Voidskirmish/Material/Textures/"
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


def shows_the_sky(image):
    """The HUD over stars: the upper half is far from black, as it is when the sky is blank."""
    return shows_the_hud(image) and image.crop(0, 0, image.width, image.height // 2).fraction_lit() > 0.15


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


def claims_size(jpeg, side):
    """The JPEG with its frame header claiming side x side pixels: a few bytes that ask for gigabytes."""
    frame = re.search(rb"\xff[\xc0-\xc2]", jpeg).start()
    return jpeg[:frame + 5] + struct.pack(">HH", side, side) + jpeg[frame + 9:]


def damaged(data, how, seed):
    """The file's new content for each kind of damage; None: the file is gone."""
    return {
        "missing": lambda: None, "empty": lambda: b"", "truncated": lambda: data[:len(data) // 2],
        "random": lambda: garbage(seed, len(data)),
        "2 MiB": lambda: data + b" " * 2 * MEGABYTE,
        "65500 px": lambda: claims_size(data, 65500),
        "1024 x 512": lambda: pathlib.Path(ROOT, TEXTURES, "asteroid_diffuse.jpg").read_bytes(),
        # Three COLLADA files that crash the model importer itself.
        "empty init_from": lambda: re.sub(rb"<init_from>[^<]*</init_from>", b"<init_from></init_from>", data, 1),
        "self instance": lambda: re.sub(rb'(<node id="([^"]+)"[^>]*>)', rb'\1<instance_node url="#\2"/>', data, 1),
        "deep nesting": lambda: data.replace(b"</node>", b"</node>" + b"<node>" * 100000 + b"</node>" * 100000, 1),
    }[how]()


# Not files at all: a reader would crash, read without end or block for good.
NOT_A_FILE = {"directory": os.mkdir, "fifo": os.mkfifo, "/dev/zero": lambda path: os.symlink("/dev/zero", path)}
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
    def broken(self, damage):
        """The files damaged for the time of the `with` block, each as {path: how} says."""
        originals = {}
        try:
            for path, how in damage.items():
                full = os.path.join(self.workdir, path)
                with open(full, "rb") as file:
                    originals[full] = file.read()
                os.remove(full)
                if how in NOT_A_FILE:
                    NOT_A_FILE[how](full)
                elif (content := damaged(originals[full], how, path)) is not None:
                    with open(full, "wb") as file:
                        file.write(content)
            yield
        finally:
            for full, data in originals.items():
                if os.path.isdir(full) and not os.path.islink(full):
                    os.rmdir(full)
                elif os.path.lexists(full):
                    os.remove(full)
                with open(full, "wb") as file:
                    file.write(data)

    def game(self, **options):
        return Game(stdin="n\n", cwd=self.workdir, xvfb=self.xvfb, **options)

    def test_each_damaged_shader_ends_start_up_with_its_message(self):
        shaders = self.files("Voidskirmish/Shader/*")
        self.assertEqual(len(shaders), 20)
        for path in shaders:
            for how in DAMAGE:
                with self.subTest(path=path, how=how), self.broken({path: how}), self.game() as game:
                    self.assertEqual(game.wait_exit(60), 1, game.stderr)
                    self.assertEqual(game.stdout, ASK)
                    if how == "missing":
                        self.assertEqual(game.stderr,
                                         f"Failed to link shader program\nCould not read shader file {path}: "
                                         "no such file\n")
                    else:  # the driver's log follows the game's line
                        self.assertRegex(game.stderr, r"(?s)^( Failed to compile shader|Failed to link shader "
                                                      r"program)\n.*\S")

    def test_each_damaged_model_ends_start_up_naming_the_file(self):
        models = self.files("Voidskirmish/Material/*.dae")
        self.assertEqual(len(models), 5)
        for path in models:
            for how in DAMAGE:
                with self.subTest(path=path, how=how), self.broken({path: how}), self.game() as game:
                    self.assertEqual(game.wait_exit(60), 1)
                    self.assertEqual(game.stdout, ASK + NO_MODEL)
                    self.assertRegex(game.stderr, f"^Could not load model file {path}: .+\n$")

    def test_hostile_shaders_and_models_end_start_up_with_the_reason(self):
        shader, model = "Voidskirmish/Shader/draw.vert", "Voidskirmish/Material/ship2.dae"
        unreadable = f"Failed to link shader program\nCould not read shader file {shader}: %s\n"
        crashed = r"the model importer \(Assimp [\d.]+\) crashed reading it"
        for path, how, reason in ((shader, "directory", unreadable % "not a regular file"),
                                  (shader, "fifo", unreadable % "not a regular file"),
                                  (shader, "/dev/zero", unreadable % "not a regular file"),
                                  (shader, "2 MiB", unreadable % "larger than 1 MiB"),
                                  (model, "directory", "not a regular file"), (model, "fifo", "not a regular file"),
                                  (model, "/dev/zero", "not a regular file"), (model, "empty init_from", crashed),
                                  (model, "self instance", crashed), (model, "deep nesting", crashed)):
            with self.subTest(path=path, how=how), self.broken({path: how}), self.game() as game:
                self.assertEqual(game.wait_exit(60), 1, game.stderr)
                if path == model:
                    self.assertEqual(game.stdout, ASK + NO_MODEL)
                    self.assertRegex(game.stderr, f"Could not load model file {path}: {reason}\n\\Z")
                else:
                    self.assertEqual((game.stdout, game.stderr), (ASK, reason))

    def test_damaged_images_leave_their_textures_empty_and_the_game_plays_on(self):
        images = self.files("Voidskirmish/Material/Textures/**/*.*")
        self.assertEqual(len(images), 9)
        for how in DAMAGE:
            # libjpeg pads a cut-off JPEG with grey rows, so only the cut PNG is refused.
            refused = [path for path in images if how != "truncated" or not path.endswith(".jpg")]
            messages = sum(READS_PER_IMAGE.get(os.path.basename(path), 1) for path in refused)
            with self.subTest(how=how), self.broken(dict.fromkeys(images, how)), \
                    self.game(env={"VOIDSKIRMISH_GL_DEBUG": "1"}) as game:
                game.wait_for_output(HELP_END)
                self.assertEqual(len(re.findall(NO_IMAGE, game.stdout)), messages, game.stdout)
                game.wait_for_window()
                game.wait_for_picture(shows_the_hud, name=f"robust-images-{how}")
                self.assertTrue(game.running())
                self.assertEqual(game.quit_with_escape(), 0, game.stderr)
                self.assertIn("GL errors: 0\n", game.stderr)

    def test_hostile_images_are_refused_with_the_reason_and_the_other_sky_faces_show(self):
        damage = {"Skybox/left.jpg": "directory", "Skybox/top.jpg": "1024 x 512", "ship_hull.jpg": "65500 px",
                  "asteroid_normal.png": "/dev/zero", "asteroid_diffuse.jpg": "fifo"}
        refused = f"Could not load image file ./{TEXTURES}"
        with self.broken({TEXTURES + name: how for name, how in damage.items()}), \
                self.game(env={"VOIDSKIRMISH_GL_DEBUG": "1"}) as game:
            game.wait_for_output(HELP_END)
            self.assertEqual(game.stdout.count("Failed to load dib\n"), 5, game.stdout)
            self.assertEqual(game.stderr, (
                f"{refused}Skybox/left.jpg: not a regular file\n"
                f"Skybox face ./{TEXTURES}Skybox/top.jpg is 1024 x 512 pixels, not 512 x 512 like the other faces: "
                "it is left black\n" +
                f"{refused}ship_hull.jpg: 65500 x 65500 pixels, more than the largest texture side of 16384\n" * 2 +
                f"{refused}asteroid_normal.png: not a regular file\n"
                f"{refused}asteroid_diffuse.jpg: not a regular file\n"))
            game.wait_for_window()
            game.wait_for_picture(shows_the_sky, name="robust-hostile-images")
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

            for width, height in ((1, 1), (1, 700), (900, 1), (3, 5), (1023, 767), (1600, 1200), (16385, 64),
                                  (1, 1), (1024, 768)):
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
