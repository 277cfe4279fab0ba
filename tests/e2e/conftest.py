"""Shared set-up of the end-to-end tests: the game binary (--binary), a private X server per test module and
`replay(name)`, which plays tests/replays/NAME.rec with the real binary."""

import pathlib
import subprocess

import harness
import pytest
from PIL import Image

ROOT = pathlib.Path(__file__).resolve().parents[2]
REPLAYS = ROOT / "tests" / "replays"


def pytest_addoption(parser):
    parser.addoption("--binary", required=True, help="the game binary to test")


def pytest_configure(config):
    harness._binary = str(pathlib.Path(config.getoption("--binary")).resolve())


@pytest.fixture(scope="module")
def xvfb():
    server = harness.Xvfb()
    yield server
    server.close()


def game_folder(parent):
    """A fresh working directory in which the game finds its run-time files and leaves its screenshots."""
    folder = pathlib.Path(parent) / f"run{len(list(pathlib.Path(parent).iterdir()))}"
    folder.mkdir()
    (folder / "Voidskirmish").symlink_to(ROOT / "Voidskirmish")
    return folder


def pictures(folder):
    """The F12 pictures a run left, by frame number."""
    return {int(path.stem.split("-")[1]): Image.open(path).convert("RGB")
            for path in sorted((folder / "screenshots").glob("voidskirmish-*.png"))}


@pytest.fixture
def replay(xvfb, tmp_path):
    """replay(NAME or path) -> (stdout, stderr, exit code, {frame: picture}), each run in a folder of its own."""
    def run(recording, timeout=300):
        path = recording if isinstance(recording, pathlib.Path) else REPLAYS / f"{recording}.rec"
        folder = game_folder(tmp_path)
        result = subprocess.run([harness.binary(), "--replay", str(path)], cwd=folder, capture_output=True,
                                text=True, timeout=timeout, env=harness.x_env(xvfb.display),
                                preexec_fn=harness._die_with_parent)
        return result.stdout, result.stderr, result.returncode, pictures(folder)
    return run
