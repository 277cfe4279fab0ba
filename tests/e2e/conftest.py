"""Shared set-up of the end-to-end tests: the game binary (--binary), a private X server per test module and
`replay(name)`, which plays tests/replays/NAME.rec with the real binary."""

import os
import pathlib
import tempfile

import harness
import pytest
from PIL import Image

ROOT = pathlib.Path(__file__).resolve().parents[2]
REPLAYS = ROOT / "tests" / "replays"


def pytest_addoption(parser):
    parser.addoption("--binary", required=True, help="the game binary to test")
    parser.addoption("--seconds", type=float, default=600, help="how long soak.py plays")
    parser.addoption("--seed", type=int, default=1, help="soak.py's random seed")


def pytest_configure(config):
    harness.binary = str(pathlib.Path(config.getoption("--binary")).resolve())
    # Games started here directly, not through harness.Game, must not read the player's own settings either.
    os.environ["XDG_CONFIG_HOME"] = tempfile.mkdtemp(prefix="voidskirmish-config-")


@pytest.fixture(scope="module")
def xvfb():
    with harness.xvfb() as display:
        yield display


def game_folder(folder):
    """`folder` made a working directory in which the game finds its run-time files and leaves its screenshots."""
    (folder / "Voidskirmish").symlink_to(ROOT / "Voidskirmish")
    return folder


def pictures(folder):
    """The F12 pictures a run left, by frame number."""
    return {int(path.stem.split("-")[1]): Image.open(path).convert("RGB")
            for path in sorted((folder / "screenshots").glob("voidskirmish-*.png"))}


@pytest.fixture(scope="module")
def replay(xvfb, tmp_path_factory):
    """replay(NAME or path, *options) -> (stdout, stderr, exit code, {frame: picture}). Each recording is played
    once a module with the same options, in a folder of its own, and the run shared by the tests that look at it."""
    runs = {}

    def run(recording, *options):
        path = recording if isinstance(recording, pathlib.Path) else REPLAYS / f"{recording}.rec"
        if (path, options) not in runs:
            folder = game_folder(tmp_path_factory.mktemp(path.stem))
            with harness.Game(xvfb, "", cwd=folder, args=["--replay", path, *options]) as game:
                code = game.wait_exit(300)
            runs[path, options] = (game.stdout, game.stderr, code, pictures(folder))
        return runs[path, options]
    return run
