"""Random play for ten minutes (CI: --seconds 60) after a fixed tour of every setting: the game must still run
and draw, report no GL error, and keep its memory floor (see the README)."""

import argparse
import itertools
import random
import sys
import tempfile
import threading
import time

import conftest
import pictures
from harness import Game

FLIGHT = (["w", "s", "a", "d", "f", "t"], ["Up", "Down", "Left", "Right", "KP_4", "KP_8"])
FIRE = ("space", "KP_0")
TOGGLES = ["1", "2", "3", "4", "5", "F1", "F2", "F3", "F4", "F5", "F8", "F9", "F10", "p"]
CYCLE = {"F1": 1, "F5": 3}  # F1 only prints the help, F5 has three mipmap modes; the others two states
# Wireframe, sampling, mipmaps and blending change how the driver draws: it builds code for each combination.
DRIVER_STATE_KEYS = ("F3", "F4", "F5", "F9")
ENVIRONMENT = {"VOIDSKIRMISH_GL_DEBUG": "1",
               "GLIBC_TUNABLES": "glibc.malloc.mmap_threshold=32768:glibc.malloc.trim_threshold=65536"}


def frames(game, count=1):
    """Waits until `count` more frames have printed their frame-time line (F2 on)."""
    game.wait_for_count("Frame time: ", game.stdout.count("Frame time: ") + count, timeout=120)


def press(game, *keys):
    """Holds the keys until a frame has seen them and drawn what they changed."""
    game.key_down(*keys)
    try:
        frames(game, 2)
    finally:
        game.key_up(*keys)


def tour(game):
    """Both ships out of the arena (bloom off meanwhile: frames three times as fast), then every setting once,
    each in a drawn frame."""
    press(game, "F2")
    press(game, "1")
    press(game, "F10")  # life point lines: the only sign, on the console, of a ship outside
    game.key_down("w", "Up")
    game.wait_for_count(r"decreased from 10 to 9\.997\n", 2, timeout=120)  # each ship's first loss outside
    game.key_up("w", "Up")
    press(game, "1")
    others = [key for key in TOGGLES if key not in DRIVER_STATE_KEYS + ("F1", "F2")]
    for keys in (others, others, ["F1"]):  # every other switch off and on again
        press(game, *keys)
    # Like an odometer, through every combination and back, each step's changes in one press.
    states = list(itertools.product(*(range(CYCLE.get(key, 2)) for key in DRIVER_STATE_KEYS)))
    for previous, state in itertools.pairwise(states + states[:1]):
        press(game, *(key for key, old, new in zip(DRIVER_STATE_KEYS, previous, state) if old != new))
    press(game, "F3")
    for key in FIRE:
        press(game, key)
    press(game, "F3")


def play_randomly(game, rng, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline and game.running():
        roll = rng.random()
        keys = ([rng.choice(keys) for keys in FLIGHT] if roll < 0.6 else [rng.choice(FIRE)] if roll < 0.8
                else [rng.choice(TOGGLES)] if roll < 0.95 else ["Return"])
        game.key_down(*keys)
        time.sleep(rng.uniform(0.5, 2.5) if roll < 0.6 else 0.4)  # frames take a few tenths of a second
        game.key_up(*keys)


def sample_memory(game, interval, samples, stopped):  # (seconds, KiB) every interval
    start = time.monotonic()
    while not stopped.is_set() and (resident := game.resident_kib()) is not None:
        samples.append((time.monotonic() - start, resident))
        stopped.wait(interval)


def memory_is_flat(samples, warm_up, margin_fraction=0.03, margin_kib=4096):
    """(verdict, explanation): the lowest sample of the last third after warm-up within the margin of the first's."""
    steady = [kib for seconds, kib in samples if seconds >= warm_up]
    if len(steady) < 6:
        return False, f"only {len(steady)} samples after warm-up: run longer or sample more often"
    third = len(steady) // 3
    floors = [min(part) for part in (steady[:third], steady[third:-third], steady[-third:])]
    allowed = max(floors[0] * margin_fraction, margin_kib)
    return floors[-1] <= floors[0] + allowed, (
        f"lowest RSS of the first, middle and last third after warm-up: {', '.join(f'{f / 1024:.1f}' for f in floors)}"
        f" MiB (the last may exceed the first by {allowed / 1024:.1f} MiB)")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--binary", required=True)
    parser.add_argument("--seconds", type=float, default=600)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    samples, stopped = [], threading.Event()
    with tempfile.TemporaryDirectory() as folder, Game(args.binary, cwd=conftest.game_folder(folder),
                                                       env=ENVIRONMENT) as game:
        game.wait_for_output(r"F10: ")  # set-up is through: the help has been printed
        sampler = threading.Thread(target=sample_memory, args=(game, 0.5, samples, stopped))
        sampler.start()
        started = time.monotonic()
        try:
            tour(game)
            warm_up = time.monotonic() - started + max(15.0, args.seconds / 5)
            play_randomly(game, random.Random(args.seed), args.seconds)
        finally:
            stopped.set()
            sampler.join()
        checks = [("the game still ran after the soak", game.running())]
        if game.running():
            game.key_down("F12")
            game.wait_for_output(r"Screenshot saved to .*\n", timeout=60)
            game.key_up("F12")
            shot = next(reversed(conftest.pictures(game.cwd).values()))
            checks.append(("its last picture shows both halves' crosshairs",
                           all(pictures.crosshair(half) for half in pictures.halves(shot))))
            checks.append(("ESC ended it with exit code 0", game.quit_with_escape() == 0))
    flat, explanation = memory_is_flat(samples, warm_up)
    checks += [("it reported \"GL errors: 0\"", "GL errors: 0\n" in game.stderr),
               ("resident memory stayed flat after warm-up", flat)]
    print(f"Soak: {time.monotonic() - started:.0f} s, {len(samples)} memory samples, warm-up {warm_up:.0f} s")
    for seconds, kib in samples[::max(1, len(samples) // 20)]:
        print(f"{seconds:8.0f} s {kib / 1024:8.1f} MiB{'  (warm-up)' if seconds < warm_up else ''}")
    print(explanation)
    for what, held in checks:
        print(f"{'ok  ' if held else 'FAIL'} {what}")
    return 0 if all(held for _, held in checks) else 1


if __name__ == "__main__":
    sys.exit(main())
