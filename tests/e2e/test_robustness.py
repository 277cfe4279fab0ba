"""Bad input, broken installs and a window pushed around: the game ends with its own message or plays on."""

import contextlib
import itertools
import os
import random
import re
import shutil
import struct
import subprocess

import pytest

import conftest
import harness
import pictures as p
from harness import Game

ASK = "Fullscreen? (y|n) "
WIDTH = "Monitor width: "
HEIGHT = "Monitor height: "
AGAIN = "Input invalid. Try again. "
ENDED = "\nStandard input ended before the start-up questions were answered.\n"
NO_MODEL = "Could not load model. "
TEXTURES = "Voidskirmish/Material/Textures/"
GL_DEBUG = {"VOIDSKIRMISH_GL_DEBUG": "1"}
MEGABYTE = 1 << 20


def garbage(seed, size):
    """Seeded bytes without NUL, so a shader compiler sees all of them."""
    return bytes(byte or 1 for byte in random.Random(seed).randbytes(size))


ANSWER = garbage("answer", 64 * 1024)  # C++ >> splits it into words on the same six blanks as bytes.split()
DIALOGUE = {
    "no input": ("", ASK + ENDED),
    "binary answers, each word refused": (ANSWER, ASK + (AGAIN + ASK) * len(ANSWER.split()) + ENDED),
    "a megabyte answer": (b"q" * MEGABYTE + b"\n", ASK + AGAIN + ASK + ENDED),
    "a megabyte width": (b"y\n" + b"9" * MEGABYTE + b"\n", ASK + WIDTH + AGAIN + WIDTH + ENDED),
    "input ending at the height": ("y\n800\n", ASK + WIDTH + HEIGHT + ENDED),
    # Sizes no window can have end like a refused window, never in GLFW's abort or an X error.
    **{f"{width} x {height}": (f"y\n{width}\n{height}\n", ASK + WIDTH + HEIGHT + "Failed to open window\n")
       for width, height in ((-800, 600), (800, -1), (-2147483648, 600), (2147483647, 2147483647), (16385, 600),
                             (65536, 65536))},
}


@pytest.mark.parametrize("case", DIALOGUE)
def test_dialogue_ends_with_its_message_and_code_1_whatever_arrives(xvfb, case):
    stdin, console = DIALOGUE[case]
    with Game(xvfb, stdin) as game:
        assert game.wait_exit(30) == 1, game.stderr
        assert game.stdout == console


BAD_RECORDING = "voidskirmish-recording 1\ngame 1.1.0\nwindow windowed 1024 768\nframe 12\n"
# (arguments, exit code, standard output, standard error). Without a display: each ends before a window could open.
COMMAND_LINES = [
    (["--help"], 0, "Voidskirmish: .*--record FILE.*--net-check.*", ""),
    (["--version"], 0, r"Voidskirmish [\d.]+\n", ""),
    *((args, 2, "", ".+") for args in (
        ["--bogus"], ["--record"], ["--record", "a", "--replay", "b"], ["--port", "5000"], ["--host", "--join", "a"],
        ["--host", "--replay", "a"], ["--host", "--port", "0"], ["--render-scale", "0.2"], ["--render-scale", "nan"],
        ["--render-scale", "1.01"], ["--render-scale", "half"], ["--bloom", "slow"], ["--frame-budget", "20"],
        ["--render-scale", "auto", "--frame-budget", "0"], ["--bot", "ship3"], ["--bot", "ship2:expert"],
        ["--bot", "ship1", "--bot", "ship1:hard"], ["--bot", "ship2", "--replay", "a"], ["--headless", "--bot", "ship2"],
        ["--rounds", "3"], ["--seed", "1"], ["--host", "--bot", "ship2"], ["--spectate", "a", "--join", "b"],
        ["--spectate", "a", "--record", "b"], ["--spectate", "a", "--bot", "ship1"])),
    (["--replay", "none.rec"], 2, "", "Cannot replay none.rec: no such file\n"),
    (["--replay", "bad.rec"], 2, "", "Cannot replay bad.rec, line 4: frame delta 12 is out of range.*\n"),
    (["--replay", "big.rec"], 2, "", "Cannot replay big.rec: larger than 32 MiB\n"),
    (["--record", "no/folder/x.rec"], 2, "", "Cannot write recording no/folder/x.rec: .+\n"),
    (["--record", "old.rec"], 1, re.escape(ASK + ENDED), ""),  # ended before the match: old.rec stays as it was
]
OLD_RECORDING = "an older recording\n"


@pytest.mark.parametrize("args, code, stdout, stderr", COMMAND_LINES)
def test_the_command_line_and_recordings_are_checked_before_any_window(tmp_path, args, code, stdout, stderr):
    (tmp_path / "bad.rec").write_text(BAD_RECORDING)
    with open(tmp_path / "big.rec", "wb") as big:
        big.truncate(32 * MEGABYTE + 1)  # sparse: it costs no disk
    (tmp_path / "old.rec").write_text(OLD_RECORDING)
    with Game(None, "", cwd=tmp_path, args=args) as game:
        assert game.wait_exit(30) == code
        assert re.fullmatch(stdout, game.stdout, re.S) and re.fullmatch(stderr, game.stderr, re.S), game.stderr
    assert sorted(os.listdir(tmp_path)) == ["bad.rec", "big.rec", "old.rec"]
    assert (tmp_path / "old.rec").read_text() == OLD_RECORDING


def test_a_recording_that_cannot_be_written_stops_once_and_play_goes_on_to_exit_code_3(xvfb, tmp_path):
    with Game(xvfb, cwd=conftest.game_folder(tmp_path), args=["--record", "/dev/full"]) as game:
        game.key("F2")  # a frame-time line each frame from now on
        game.frames(3)
        game.key("Escape")
        assert game.wait_exit() == 3, game.stderr
    assert game.stderr == "Recording stopped: cannot write /dev/full: No space left on device\n"


def test_a_recording_replaces_an_older_one_at_its_first_frame_and_a_kill_leaves_every_whole_frame(xvfb, tmp_path):
    folder = conftest.game_folder(tmp_path)
    (folder / "old.rec").write_text(OLD_RECORDING)
    with Game(xvfb, cwd=folder, args=["--record", "old.rec"]) as game:
        game.key("F2")
        game.frames(2)
        game.process.kill()
        game.wait_exit()
    text = (folder / "old.rec").read_text()
    assert re.fullmatch(r"voidskirmish-recording 1\ngame .+\nwindow windowed 1024 768\n(.+\n)*frame \S+\n", text), text
    # Each frame is in the file before it is drawn, so before its frame-time line.
    assert "key press 291\n" in text and text.count("\nframe ") >= game.stdout.count("Frame time: ") >= 2
    assert sorted(os.listdir(folder)) == ["Voidskirmish", "old.rec"]


def claims_size(jpeg, side):
    """The JPEG with its frame header claiming side x side pixels: a few bytes that ask for gigabytes."""
    frame = re.search(rb"\xff[\xc0-\xc2]", jpeg).start()
    return jpeg[:frame + 5] + struct.pack(">HH", side, side) + jpeg[frame + 9:]


def damaged(data, how, seed):
    """The file's new content for each kind of damage; None: the file is gone."""
    return {
        "missing": lambda: None, "empty": lambda: b"", "truncated": lambda: data[:len(data) // 2],
        "random": lambda: garbage(seed, len(data)), "2 MiB": lambda: data + b" " * 2 * MEGABYTE,
        "65500 px": lambda: claims_size(data, 65500),
        "1024 x 512": lambda: (conftest.ROOT / TEXTURES / "asteroid_diffuse.jpg").read_bytes(),
        # Three COLLADA files that crash the model importer itself.
        "empty init_from": lambda: re.sub(rb"<init_from>[^<]*</init_from>", b"<init_from></init_from>", data, 1),
        "self instance": lambda: re.sub(rb'(<node id="([^"]+)"[^>]*>)', rb'\1<instance_node url="#\2"/>', data, 1),
        "deep nesting": lambda: data.replace(b"</node>", b"</node>" + b"<node>" * 100000 + b"</node>" * 100000, 1),
    }[how]()


# Not files at all: a reader would crash, read without end or block for good.
NOT_A_FILE = {"directory": os.mkdir, "fifo": os.mkfifo, "/dev/zero": lambda path: os.symlink("/dev/zero", path)}


def broken_install(folder, damage):
    """`folder` made a copy of the run-time files with each file damaged as {path: how} says."""
    shutil.copytree(conftest.ROOT / "Voidskirmish", folder / "Voidskirmish")
    for path, how in damage.items():
        data = (folder / path).read_bytes()
        (folder / path).unlink()
        if how in NOT_A_FILE:
            NOT_A_FILE[how](folder / path)
        elif (content := damaged(data, how, path)) is not None:
            (folder / path).write_bytes(content)
    return folder


def files(pattern):
    return sorted(str(path.relative_to(conftest.ROOT)) for path in conftest.ROOT.glob(pattern))


SHADERS, MODELS = files("Voidskirmish/Shader/*"), files("Voidskirmish/Material/*.dae")
assert (len(SHADERS), len(MODELS)) == (22, 5), "the run-time files have moved"
SHADER, MODEL = "Voidskirmish/Shader/draw.vert", "Voidskirmish/Material/ship2.dae"
# Every shader and model file broken one way; the ways go round forwards and back, so that vertex and fragment
# shaders each meet all of them.
ROUND = itertools.cycle(("missing", "empty", "truncated", "random", "random", "truncated", "empty", "missing"))
UNREAD = "Failed to link shader program\nCould not read shader file {}: {}\n"
COMPILER = r"(?s)( Failed to compile shader|Failed to link shader program)\n.*\S.*"  # the driver's log follows
CRASHED = r"the model importer \(Assimp [\d.]+\) crashed reading it"
START_UP = [
    *((path, how, ASK, re.escape(UNREAD.format(path, "no such file")) if how == "missing" else COMPILER)
      for path, how in zip(SHADERS, ROUND)),
    *((path, how, ASK + NO_MODEL, f"Could not load model file {path}: .+\n") for path, how in zip(MODELS, ROUND)),
    *((SHADER, how, ASK, re.escape(UNREAD.format(SHADER, "not a regular file"))) for how in NOT_A_FILE),
    (SHADER, "2 MiB", ASK, re.escape(UNREAD.format(SHADER, "larger than 1 MiB"))),
    *((MODEL, how, ASK + NO_MODEL, f"Could not load model file {MODEL}: not a regular file\n") for how in NOT_A_FILE),
    *((MODEL, how, ASK + NO_MODEL, f"(?s).*Could not load model file {MODEL}: {CRASHED}\n")
      for how in ("empty init_from", "self instance", "deep nesting")),
]


@pytest.mark.parametrize("path, how, stdout, stderr", START_UP)
def test_a_broken_shader_or_model_ends_start_up_with_code_1_and_the_reason(xvfb, tmp_path, path, how, stdout, stderr):
    with Game(xvfb, cwd=broken_install(tmp_path, {path: how})) as game:
        assert game.wait_exit(60) == 1, game.stderr
        assert game.stdout == stdout
        assert re.fullmatch(stderr, game.stderr), game.stderr


def lit(picture):
    """The share of pixels neither black nor the scene's clear grey."""
    return p.share(picture, lambda *rgb: sum(rgb) > 24 and not p.clear_grey(*rgb))


def screenshot(game):
    """The picture F12 saves of the next frame."""
    game.key("F12")
    game.wait_for_output("Screenshot saved to ", game.stdout.count("Screenshot saved to ") + 1)
    return list(conftest.pictures(game.cwd).values())[-1]


def refused(*reasons):
    """The game's lines for images it refused, as (name, reason), in the order it reads them."""
    return "".join(f"Could not load image file ./{TEXTURES}{name}: {reason}\n" for name, reason in reasons)


def test_hostile_images_are_refused_with_the_reason_and_the_game_plays_on_with_the_other_sky_faces(xvfb, tmp_path):
    damage = {"Skybox/left.jpg": "directory", "Skybox/top.jpg": "1024 x 512", "ship_hull.jpg": "65500 px",
              "asteroid_normal.png": "/dev/zero", "asteroid_diffuse.jpg": "fifo"}
    huge = "65500 x 65500 pixels, more than the largest texture side of 16384"
    stderr = refused(("Skybox/left.jpg", "not a regular file")) + f"Skybox face ./{TEXTURES}Skybox/top.jpg is " \
        "1024 x 512 pixels, not 512 x 512 like the other faces: it is left black\n" + refused(
            ("ship_hull.jpg", huge), ("ship_hull.jpg", huge), ("asteroid_normal.png", "not a regular file"),
            ("asteroid_diffuse.jpg", "not a regular file"))  # each ship reads its own hull
    folder = broken_install(tmp_path, {TEXTURES + name: how for name, how in damage.items()})
    with Game(xvfb, cwd=folder, env=GL_DEBUG) as game:
        game.wait_for_output(r"F10: .*\n")  # the last help line: set-up is through
        assert game.stderr == stderr
        # The HUD over stars: the upper half is far from black, as it is when the sky is blank.
        shot = screenshot(game)
        assert p.crosshairs(shot) and lit(p.halves(shot)[0]) > 0.15
        game.key("Escape")
        assert game.wait_exit() == 0, game.stderr
        assert game.stderr == stderr + "GL errors: 0\n"


def fills_the_window(picture):
    """The HUD where the 1024 x 768 layout puts it and the scene in every quarter of the window: neither a
    blank corner an old size left nor one colour stretched from a tiny frame buffer or the white clear."""
    w, h = picture.width // 2, picture.height // 2
    return picture.size == (1024, 768) and p.crosshairs(picture) and all(
        0.1 < lit(p.region(picture, x, y, w, h)) < 0.95 for x in (0, w) for y in (0, h))


def test_resizing_minimising_and_the_close_button(xvfb, tmp_path):
    with harness.window_manager(xvfb), Game(xvfb, cwd=conftest.game_folder(tmp_path), env=GL_DEBUG) as game:
        def state():  # "Normal", or "Iconic" when minimised
            return re.search(r"window state: (\w+)", subprocess.run(
                ["xprop", "-display", xvfb, "-id", game.window, "WM_STATE"], capture_output=True, text=True).stdout)[1]
        game.key("F2")  # frame-time lines from now on, to count frames by
        game.frames()
        for size in ((1, 1), (1, 700), (900, 1), (3, 5), (1023, 767), (1600, 1200), (16384, 64), (1, 1), (1024, 768)):
            game.xdotool("windowsize", "--sync", game.window, *size)
            assert game.geometry()[2:] == size
            game.frames(2)
        for command, shown in (("windowminimize", "Iconic"), ("windowactivate", "Normal")):
            game.xdotool(command, "--sync", game.window)
            assert state() == shown
            game.frames(2)
        # Back at its size and restored, drawn to every edge again within a few frames.
        game.frames(3)
        assert fills_the_window(screenshot(game))
        game.xdotool("key", "alt+F4")  # the window manager's own close, for the focused game window
        assert game.wait_exit(60) == 0, game.stderr
        assert "GL errors: 0\n" in game.stderr


def test_a_window_made_larger_than_16384_a_side_is_put_back_and_its_recording_replays(xvfb, tmp_path, replay):
    """Without a window manager to keep the window's limits: 32767 a side crashed the driver, 16385 could be
    recorded but not replayed."""
    folder = conftest.game_folder(tmp_path)
    with Game(xvfb, cwd=folder, args=["--record", folder / "large.rec"]) as game:
        game.key("F2")
        for size in ((32767, 32767), (16385, 64)):
            game.xdotool("windowsize", game.window, *size)
            game.frames(3)
            assert game.geometry()[2:] == (1024, 768)
        game.key("Escape")
        assert game.wait_exit() == 0
        assert game.stderr == "The window cannot be larger than 16384 pixels a side; keeping 1024 x 768\n"
    out, err, code, _ = replay(folder / "large.rec")
    assert (code, err) == (0, "") and out.endswith(" frames\n")


LONG_FRAMES = "voidskirmish-recording 1\ngame 1.1.0\nwindow windowed 1024 768\nkey press 291\nframe 10\n" + \
    "frame 10\n" * 9


@pytest.mark.parametrize("replaying, how", [(True, "Escape"), (True, "alt+F4"), (True, "windowclose"),
                                            (False, "windowclose")])
def test_esc_a_close_or_a_destroyed_window_ends_the_game_at_once_also_inside_a_long_recorded_frame(
        xvfb, tmp_path, replaying, how):
    (tmp_path / "long.rec").write_text(LONG_FRAMES)
    manager = harness.window_manager(xvfb) if how == "alt+F4" else contextlib.nullcontext()
    args = ["--replay", tmp_path / "long.rec"] if replaying else []
    with manager, Game(xvfb, "" if replaying else "n\n", cwd=conftest.game_folder(tmp_path), args=args) as game:
        if not replaying:
            game.key("F2")
        game.frames()  # in a replay the first of ten frames ten seconds long
        if how == "windowclose":  # destroys the X window, where a window manager asks it to close
            game.xdotool("windowclose", game.window)
        else:
            game.xdotool("key", *(["--window", game.window] if how == "Escape" else []), how)
        assert game.wait_exit() == 0
        assert game.stderr == ""
        assert not replaying or game.stdout.endswith("\nReplay finished after 1 frames\n")
