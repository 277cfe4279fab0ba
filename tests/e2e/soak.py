"""Plays the game with random keys for a long time and checks that it holds up: still running at the end,
resident memory flat after warm-up, and no OpenGL error in the whole run.

    python3 tests/e2e/soak.py --binary build/voidskirmish              # ten minutes
    python3 tests/e2e/soak.py --binary build/voidskirmish --seconds 60 # the CI run

Memory criterion: the game runs with glibc told to hand freed blocks of 32 KiB and more back to the system, so
its resident memory follows what it holds, not the heaviest frame so far. Heavy frames then show as peaks that
go away, while a leak lifts the floor under them. So the samples after warm-up are cut into thirds, and the
lowest sample of the last third may exceed the lowest of the first third by at most the margin (default 3 % or
4 MiB, whichever is larger). The warm-up is a fixed tour (both ships flown out of the arena, every toggle once
around, every combination of the toggles that change how the driver draws, shots with wireframe on) and the
first fifth of the random play. Exit code 0 when every check holds, 1 otherwise.
"""

import argparse
import math
import os
import random
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import Game  # noqa: E402

FLIGHT = (["w", "s", "a", "d", "f", "t"], ["Up", "Down", "Left", "Right", "KP_4", "KP_8"])
FIRE = ("space", "KP_0")
TOGGLES = ["1", "2", "3", "4", "5", "F1", "F2", "F3", "F4", "F5", "F8", "F9", "F10", "p"]
PRESSES_PER_CYCLE = {"F1": 1, "F5": 3}  # F1 only prints the help, F5 has three mipmap modes; the rest two states
# Wireframe, sampling, mipmaps and blending change how the driver draws: it builds and keeps code for every
# combination it meets, so the tour meets all 24 before memory is judged.
DRIVER_STATE_KEYS = ("F3", "F4", "F5", "F9")
WIREFRAME = "F3"
THRUST = ("w", "Up")
OUT_OF_THE_ARENA_SECONDS = 15  # full thrust takes both ships past the arena's radius of 1800 in about eight
GAME_ENVIRONMENT = {
    "VOIDSKIRMISH_GL_DEBUG": "1",
    # Blocks of 32 KiB and up (the software rasteriser's per-frame bins among them) go back to the system when
    # freed, so resident memory follows what is in use rather than the heaviest frame so far.
    "GLIBC_TUNABLES": "glibc.malloc.mmap_threshold=32768:glibc.malloc.trim_threshold=65536",
}
RESTART = "Return"


class MemorySampler(threading.Thread):
    """Reads the game's VmRSS every `interval` seconds until stopped; samples are (seconds, KiB)."""

    def __init__(self, game, interval):
        super().__init__(daemon=True)
        self.game, self.interval, self.samples = game, interval, []
        self.stopped = threading.Event()

    def run(self):
        start = time.monotonic()
        while not self.stopped.is_set():
            resident = self.game.resident_kib()
            if resident is None:
                return
            self.samples.append((time.monotonic() - start, resident))
            self.stopped.wait(self.interval)

    def stop(self):
        self.stopped.set()
        self.join()


def tour_every_setting(game):
    """Warm-up: flies both ships out of the arena (its warning and life drain run from then on, as random flight
    mostly keeps them out), takes every toggle once around its cycle, back to where it started, meets every
    driver state and shoots with wireframe on: first-time allocations and heavy frames come before memory is
    judged."""
    for key in THRUST:
        game.key_down(key)
    time.sleep(OUT_OF_THE_ARENA_SECONDS)
    for key in THRUST:
        game.key_up(key)
    for key in TOGGLES:
        for _ in range(PRESSES_PER_CYCLE.get(key, 2)):
            game.hold(key, 0.5)
            time.sleep(0.5)
    visit_every_driver_state(game)
    game.hold(WIREFRAME, 0.5)
    for key in FIRE:
        game.hold(key, 0.5)
    time.sleep(2)
    game.hold(WIREFRAME, 0.5)


def visit_every_driver_state(game):
    """Steps through the combinations like an odometer, a frame or two each, and ends where it began."""
    positions = dict.fromkeys(DRIVER_STATE_KEYS, 0)
    combinations = math.prod(PRESSES_PER_CYCLE.get(key, 2) for key in DRIVER_STATE_KEYS)
    for _ in range(combinations):
        time.sleep(1.0)
        for key in DRIVER_STATE_KEYS:
            game.hold(key, 0.3)
            positions[key] = (positions[key] + 1) % PRESSES_PER_CYCLE.get(key, 2)
            if positions[key]:
                break


def play_randomly(game, rng, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline and game.running():
        play_one_move(game, rng)


def unless_the_game_ends(game, action, *args):
    """Runs the action; if the game ends meanwhile, its window goes and xdotool fails: the checks report that."""
    try:
        action(game, *args)
    except RuntimeError:
        if game.running():
            raise


def play_one_move(game, rng):
    """Holds flight keys for both players at once, or fires, flips a toggle or now and then refills with ENTER."""
    roll = rng.random()
    if roll < 0.6:
        keys = [rng.choice(keys) for keys in FLIGHT]
        for key in keys:
            game.key_down(key)
        time.sleep(rng.uniform(0.5, 2.5))  # frames take a few tenths of a second: hold across several
        for key in keys:
            game.key_up(key)
    elif roll < 0.8:
        game.hold(rng.choice(FIRE), 0.4)
    elif roll < 0.95:
        game.hold(rng.choice(TOGGLES), 0.4)
    else:
        game.hold(RESTART, 0.4)


def memory_table(samples, warm_up, rows=20):
    """The curve in at most `rows` equal time slices: lowest and highest sample of each, in MiB."""
    end = samples[-1][0]
    width = max(end / rows, 1e-9)
    lines = ["  from s    to s   min MiB   max MiB"]
    for row in range(rows):
        low, high = row * width, (row + 1) * width
        values = [m for t, m in samples if low <= t < high or (row == rows - 1 and t == end)]
        if values:
            mark = "  (warm-up)" if high <= warm_up else ""
            lines.append(f"{low:8.0f}{high:8.0f}{min(values) / 1024:10.1f}{max(values) / 1024:10.1f}{mark}")
    return "\n".join(lines)


def memory_is_flat(samples, warm_up, margin_fraction, margin_kib):
    """(verdict, explanation) by the criterion in the module's description."""
    steady = [sample for sample in samples if sample[0] >= warm_up]
    if len(steady) < 6:
        return False, f"only {len(steady)} samples after warm-up: run longer or sample more often"
    third = len(steady) // 3
    floors = [min(m for _, m in part) for part in (steady[:third], steady[third:-third], steady[-third:])]
    allowed = max(floors[0] * margin_fraction, margin_kib)
    verdict = floors[-1] <= floors[0] + allowed
    return verdict, (f"lowest RSS of the first, middle and last third after warm-up: "
                     f"{', '.join(f'{floor / 1024:.1f}' for floor in floors)} MiB "
                     f"(the last may exceed the first by {allowed / 1024:.1f} MiB)")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--binary", required=True)
    parser.add_argument("--seconds", type=float, default=600)
    parser.add_argument("--interval", type=float, default=3, help="seconds between memory samples")
    parser.add_argument("--warm-up", type=float, default=None,
                        help="seconds of random play left out of the memory check after the tour of every "
                             "setting (default: a fifth of the run, at least 15)")
    parser.add_argument("--margin", type=float, default=0.03, help="allowed growth as a fraction")
    parser.add_argument("--margin-mib", type=float, default=4, help="allowed growth in MiB, if larger")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    random_warm_up = args.warm_up if args.warm_up is not None else max(15.0, args.seconds / 5)

    with Game(os.path.abspath(args.binary), stdin="n\n", env=GAME_ENVIRONMENT) as game:
        game.wait_for_window()
        game.wait_for_output(r"F10: ")  # set-up is through: the help has been printed
        sampler = MemorySampler(game, args.interval)
        sampler.start()
        started = time.monotonic()
        try:
            unless_the_game_ends(game, tour_every_setting)
            toured = time.monotonic() - started
            unless_the_game_ends(game, play_randomly, random.Random(args.seed), args.seconds)
        finally:
            sampler.stop()
        played = time.monotonic() - started - toured
        warm_up = toured + random_warm_up
        still_running = game.running()
        picture = game.screenshot("soak-end").fraction_lit() if still_running else 0.0
        code = game.quit_with_escape() if still_running else game.wait_exit(10)

    samples = sampler.samples
    flat, explanation = memory_is_flat(samples, warm_up, args.margin, args.margin_mib * 1024)
    checks = [
        ("the game still ran after the soak", still_running),
        ("the last picture was not black", picture > 0.02),
        ("ESC ended it with exit code 0", code == 0),
        ("it reported \"GL errors: 0\"", "GL errors: 0\n" in game.stderr),
        ("resident memory stayed flat after warm-up", flat),
    ]
    print(f"Soak: a {toured:.0f} s tour of every setting, {played:.0f} s of random play, {len(samples)} memory "
          f"samples, warm-up {warm_up:.0f} s")
    print(memory_table(samples, warm_up) if samples else "no memory samples")
    print(explanation)
    for what, held in checks:
        print(f"{'ok  ' if held else 'FAIL'} {what}")
    if not all(held for _, held in checks):
        print(f"exit code {code}; stderr:\n{game.stderr[-2000:]}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
