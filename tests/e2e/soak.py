"""Random play for ten minutes (CI: --seconds 60) after a fixed tour of every setting: the game must still run
and draw, report no GL error, and keep its memory floor (see the README). A pytest file of its own, not
collected with the others: python3 tests/e2e/soak.py --binary build/voidskirmish [--seconds S] [--seed N]"""

import itertools
import os
import random
import sys
import threading
import time

import pytest

import conftest
import harness
import pictures

FLIGHT = (["w", "s", "a", "d", "f", "t"], ["Up", "Down", "Left", "Right", "KP_4", "KP_8"])
FIRE = ("space", "KP_0")
TOGGLES = ["1", "2", "3", "4", "5", "F1", "F2", "F3", "F4", "F5", "F8", "F9", "F10", "p"]
CYCLE = {"F1": 1, "F5": 3}  # F1 only prints the help, F5 has three mipmap modes; the others two states
# Wireframe, sampling, mipmaps and blending change how the driver draws: it builds code for each combination.
DRIVER_STATE_KEYS = ("F3", "F4", "F5", "F9")
ENVIRONMENT = {"VOIDSKIRMISH_GL_DEBUG": "1",
               "GLIBC_TUNABLES": "glibc.malloc.mmap_threshold=32768:glibc.malloc.trim_threshold=65536"}


def hold(game, keys, until):
    """Holds the keys down until `until()` returns."""
    game.xdotool("keydown", "--window", game.window, *keys)
    try:
        until()
    finally:
        game.xdotool("keyup", "--window", game.window, *keys)


def press(game, *keys):
    """Holds the keys until a frame has seen them and drawn what they changed."""
    hold(game, keys, lambda: game.frames(2))


def tour(game):
    """Both ships out of the arena (bloom off meanwhile: frames three times as fast), then every setting once,
    each in a drawn frame."""
    for key in ("F2", "1", "F10"):  # frame-time lines; bloom off; life point lines, the sign of a ship outside
        press(game, key)
    # Until each ship's first loss outside.
    hold(game, ["w", "Up"], lambda: game.wait_for_output(r"decreased from 10 to 9\.997\n", 2))
    press(game, "1")
    others = [key for key in TOGGLES if key not in DRIVER_STATE_KEYS + ("F1", "F2")]
    for keys in (others, others, ["F1"]):  # every other switch off and on again
        press(game, *keys)
    # Like an odometer, through every combination and back, each step's changes in one press.
    states = list(itertools.product(*(range(CYCLE.get(key, 2)) for key in DRIVER_STATE_KEYS)))
    for previous, state in itertools.pairwise(states + states[:1]):
        press(game, *(key for key, old, new in zip(DRIVER_STATE_KEYS, previous, state) if old != new))
    for key in ("F3", *FIRE, "F3"):  # both guns in wire frame
        press(game, key)


def play_randomly(game, rng, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline and game.process.poll() is None:
        roll = rng.random()
        keys = ([rng.choice(keys) for keys in FLIGHT] if roll < 0.6 else [rng.choice(FIRE)] if roll < 0.8
                else [rng.choice(TOGGLES)] if roll < 0.95 else ["Return"])
        # Frames take a few tenths of a second.
        hold(game, keys, lambda: time.sleep(rng.uniform(0.5, 2.5) if roll < 0.6 else 0.4))


def sample_memory(game, samples, stopped):
    """(seconds, resident MiB) every half second until `stopped` is set or the game has ended."""
    start, page_mib = time.monotonic(), os.sysconf("SC_PAGE_SIZE") / 2 ** 20
    while not stopped.wait(0.5) and game.process.poll() is None:
        with open(f"/proc/{game.process.pid}/statm") as statm:
            samples.append((time.monotonic() - start, int(statm.read().split()[1]) * page_mib))


def test_soak(xvfb, tmp_path, pytestconfig):
    seconds = pytestconfig.getoption("--seconds")
    samples, stopped = [], threading.Event()
    with harness.Game(xvfb, cwd=conftest.game_folder(tmp_path), env=ENVIRONMENT) as game:
        game.wait_for_output(r"F10: ")  # set-up is through: the help has been printed
        sampler = threading.Thread(target=sample_memory, args=(game, samples, stopped))
        sampler.start()
        started = time.monotonic()
        try:
            tour(game)
            warm_up = time.monotonic() - started + max(15.0, seconds / 5)
            play_randomly(game, random.Random(pytestconfig.getoption("--seed")), seconds)
        finally:
            stopped.set()
            sampler.join()
        print(f"Soak: {time.monotonic() - started:.0f} s, {len(samples)} memory samples, warm-up {warm_up:.0f} s")
        assert game.process.poll() is None, f"the game ended during the soak:\n{game.stderr}"
        game.key("F12")
        game.wait_for_output(r"Screenshot saved to .*\n")
        assert pictures.crosshairs(list(conftest.pictures(game.cwd).values())[-1]), "a crosshair is missing"
        game.key("Escape")
        assert game.wait_exit() == 0, game.stderr
    assert "GL errors: 0\n" in game.stderr, game.stderr
    # A leak raises the memory floor again and again; the driver's occasional one-time step (see the README)
    # raises it once or twice. So the floor is taken in six windows after warm-up, and the median of its five
    # rises, over the whole run, must stay within 3 % (at least 4 MiB) of the first floor.
    steady = [mib for moment, mib in samples if moment >= warm_up]
    assert len(steady) >= 12, f"only {len(steady)} samples after warm-up: run longer or sample more often"
    windows = [steady[len(steady) * i // 6:len(steady) * (i + 1) // 6] for i in range(6)]
    floors = [min(window) for window in windows]
    rises = sorted(later - earlier for earlier, later in itertools.pairwise(floors))
    growth, allowed = rises[2] * 5, max(0.03 * floors[0], 4.0)
    print("Lowest RSS of six windows after warm-up: " + ", ".join(f"{floor:.1f}" for floor in floors) +
          f" MiB; the median rise over the run {growth:.1f} MiB may be {allowed:.1f} at most")
    assert growth <= allowed, "resident memory grew after warm-up"

if __name__ == "__main__":
    sys.exit(pytest.main(["-q", "-s", "-p", "no:cacheprovider", __file__, *sys.argv[1:]]))
