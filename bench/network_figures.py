"""Figures of network play through the test relay, one game per Xvfb, in the 1024 x 768 window:
    python3 bench/network_figures.py BINARY [--delay MS] [--loss PERCENT] [--seconds S] [--fast] [--outage]
    python3 bench/network_figures.py BINARY --local [--seconds S] [--fast]
with every effect or (--fast) bloom and contours off, as the end-to-end test plays. The joiner fires every
1.2 s; from the press, its screen is grabbed until the beam shows (the first picture with a laser's red rim in
the lower middle of its view). Prints the time from the press to that picture and the frames the joiner showed
meanwhile (the one being drawn at the press counts: a local game needs two), the longest freeze (the longest
time between two shown frames that moved the match, and the most frames in a row that did not), the
corrections of the prediction a second and their depth, the steps run again a frame and what restoring and
running them costs a frame (mean and worst), the bytes a second each way, whether the two consoles agree, and
whether both recordings replay (headless) to the hashes each machine printed. With --outage the relay passes
nothing for 3 s halfway through. The game's own side comes from the file VOIDSKIRMISH_NET_FIGURES names
(app/NetworkFigures). --local measures the same press to picture in a local game (ship 1's SPACE, the upper
half) to compare with."""

import argparse
import os
import pathlib
import re
import socket
import statistics
import subprocess
import sys
import tempfile
import time

from PIL import ImageChops, ImageGrab

ROOT = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import harness  # noqa: E402
from relay import Relay  # noqa: E402

PRESS_EVERY = 1.2  # longer than a beam lives (0.5 s) and than a hit's sparks glow
LONGEST_WAIT = 1.5  # for the beam to show
BEAM_PIXELS = 300  # pixels that grew redder, as a beam's rim makes them; an asteroid drifting gives a few dozen
OUTAGE = 3.0

# Lines each machine prints of itself: how it connected, its own toggles.
OWN_LINES = re.compile(r"^(Waiting for a player|Player joined|Joined the match|The other player left|Bloom |Contours )")


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def redder(before, after):
    """Pixels whose red grew by at least 12 more than twice what green and blue grew."""
    r, g, b = ImageChops.subtract(after, before).split()
    over = ImageChops.darker(ImageChops.subtract(r, ImageChops.add(g, g)), ImageChops.subtract(r, ImageChops.add(b, b)))
    return sum(over.point(lambda v: 255 if v >= 12 else 0).histogram()[255:])


class Shooter:
    """Presses SPACE in `game` and grabs the region of its view where the own beam shows."""

    def __init__(self, game, view_height):
        self.game = game
        x, y, width, height = game.geometry()
        self.box = (x + width // 2 - 100, y + view_height // 2, x + width // 2 + 100, y + view_height)
        self.presses = []  # (pressed, grabbed when the beam showed, or None)

    def grab(self):
        return ImageGrab.grab(bbox=self.box, xdisplay=self.game.display)

    def shoot(self):
        before = self.grab()
        pressed = time.monotonic()
        self.game.xdotool("keydown", "--window", self.game.window, "space")
        self.game.xdotool("keyup", "--window", self.game.window, "space")
        while time.monotonic() - pressed < LONGEST_WAIT:
            picture = self.grab()
            if redder(before, picture) >= BEAM_PIXELS:
                self.presses.append((pressed, time.monotonic()))
                return
        self.presses.append((pressed, None))

    def play(self, seconds, quiet=lambda now: False):
        start = time.monotonic()
        while time.monotonic() - start < seconds:
            due = time.monotonic() + PRESS_EVERY
            if not quiet(time.monotonic() - start):
                self.shoot()
            time.sleep(max(0.0, due - time.monotonic()))


def hashes(lines):
    return [line for line in lines if line.startswith("Match hash at frame ")]


def read_figures(path):
    figures, frames = {}, []
    for line in pathlib.Path(path).read_text().splitlines():
        name, *values = line.split()
        if name == "frame":
            frames.append((float(values[0]), int(values[1]), values[2] == "1"))
        else:
            figures[name] = float(values[0])
    return figures, frames


def latency_report(presses, shown_at, mean_frame):
    answered = [(pressed, seen) for pressed, seen in presses if seen is not None]
    waits = [seen - pressed for pressed, seen in answered]
    line = f"  press to picture: median {statistics.median(waits) * 1000:.0f} ms, max {max(waits) * 1000:.0f} ms " \
           f"({statistics.median(waits) / mean_frame:.1f} and {max(waits) / mean_frame:.1f} mean frames) over " \
           f"{len(waits)} presses ({len(presses) - len(waits)} never seen)"
    if shown_at:
        # The frames shown from the press up to the picture grabbed, the last one included.
        counts = [sum(pressed < t <= seen for t in shown_at) for pressed, seen in answered]
        line += f"; frames shown meanwhile: median {statistics.median(counts)}, max {max(counts)}"
    print(line)


def network(args):
    port = free_port()
    folder = pathlib.Path(tempfile.mkdtemp(prefix="network-figures-"))
    files = {side: folder / f"{side}.txt" for side in ("host", "join")}
    records = {side: ["--net-check", "--record", folder / f"{side}.rec"] for side in ("host", "join")}
    with harness.xvfb() as first, harness.xvfb() as second, \
            Relay(port, args.delay / 1000, args.delay / 8000, args.loss / 100) as relay:
        env = {side: {"VOIDSKIRMISH_NET_FIGURES": str(path)} for side, path in files.items()}
        with harness.Game(first, env=env["host"], args=["--host", "--port", port, *records["host"]]) as host:
            host.wait_for_output(f"Waiting for a player on port {port}")
            with harness.Game(second, env=env["join"], args=["--join", "127.0.0.1", "--port", relay.port,
                                                                  *records["join"]]) as join:
                join.wait_for_output("Joined the match")
                for game in (host, join) if args.fast else ():
                    game.key("1", "2")
                    game.wait_for_output("Contours off")
                shooter = Shooter(join, join.geometry()[3])
                outage_at = args.seconds / 2

                def quiet(elapsed):  # no presses while the link is cut, nor just after
                    if args.outage and outage_at <= elapsed < outage_at + OUTAGE:
                        relay.cut = True
                        return True
                    relay.cut = False
                    return args.outage and elapsed < outage_at + OUTAGE + 1.0 and elapsed >= outage_at

                start, bytes_start = time.monotonic(), dict(relay.sent)
                shooter.play(args.seconds, quiet)
                elapsed = time.monotonic() - start
                sent = {way: (relay.sent[way] - bytes_start[way]) / elapsed for way in relay.sent}
                join.key("Escape")
                join.wait_exit(60)
                host.wait_exit(60)
                consoles = [[line for line in game.stdout.splitlines() if not OWN_LINES.match(line)]
                            for game in (host, join)]
    replayed = [hashes(subprocess.run([harness.binary, "--replay", folder / f"{side}.rec", "--net-check", "--headless"],
                                      capture_output=True, text=True, timeout=600).stdout.splitlines())
                for side in ("host", "join")]
    figures, frames = read_figures(files["join"])
    host_figures, host_frames = read_figures(files["host"])
    shown_at = [t for t, _, _ in frames]
    gaps = [b - a for a, b in zip(shown_at, shown_at[1:])]
    mean_frame = statistics.mean(gaps)
    moving = [t for t, steps, _ in frames if steps > 0]
    longest_still, still = 0, 0
    for _, steps, _ in frames:
        still = still + 1 if steps == 0 else 0
        longest_still = max(longest_still, still)
    effects = "bloom and contours off" if args.fast else "every effect"
    print(f"{args.delay:.0f} ms each way, {args.loss:.0f} % loss, {effects}, {elapsed:.0f} s"
          f"{', a 3-s outage halfway' if args.outage else ''}; the joiner:")
    latency_report(shooter.presses, shown_at, mean_frame)
    print(f"  frames {len(frames)}, mean frame {mean_frame * 1000:.0f} ms; longest freeze "
          f"{max(b - a for a, b in zip(moving, moving[1:])) * 1000:.0f} ms, most frames in a row that did not move "
          f"{longest_still}, frames waiting for the other side {sum(w for _, _, w in frames)}, "
          f"steps let go by the time sync {figures['steps_let_go']:.0f}")
    for side, found, drawn in (("joiner", figures, len(frames)), ("host", host_figures, len(host_frames))):
        count = found["corrections"]
        print(f"  {side}: corrections {count / found['seconds']:.1f} a second, depth mean "
              f"{found['corrected_steps'] / max(count, 1):.1f}, deepest {found['deepest_correction']:.0f} steps; steps "
              f"run again {found['rerun_steps'] / drawn:.1f} a frame (most {found['most_rerun_steps']:.0f}), "
              f"restoring and running them {found['rerun_seconds'] / drawn * 1000:.2f} ms a frame, "
              f"worst {found['worst_rerun_seconds'] * 1000:.1f} ms")
    print("  bytes a second: " + ", ".join(f"{way} {rate:.0f}" for way, rate in sent.items()))
    print(f"  consoles {'identical' if consoles[0] == consoles[1] else 'DIFFER'} ({len(consoles[0])} lines), "
          f"confirmed steps {host_figures['confirmed_steps']:.0f} and {figures['confirmed_steps']:.0f}; the "
          f"recordings' replays {'give' if replayed == [hashes(console) for console in consoles] else 'DO NOT give'} "
          f"each machine's {len(replayed[0])} and {len(replayed[1])} hashes")


def local(args):
    with harness.xvfb() as display:
        with harness.Game(display) as game:
            if args.fast:
                game.key("1", "2")
                game.wait_for_output("Contours off")
            game.key("F2")
            game.frames(5)
            shooter = Shooter(game, game.geometry()[3] // 2)
            shooter.play(args.seconds)
            deltas = [float(t) for t in re.findall(r"^Frame time: (\S+)", game.stdout, re.M)]
            game.key("Escape")
            game.wait_exit(60)
    print(f"a local game, {'bloom and contours off' if args.fast else 'every effect'}, {args.seconds:.0f} s:")
    latency_report(shooter.presses, [], statistics.mean(deltas[5:]))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary")
    parser.add_argument("--delay", type=float, default=80.0)
    parser.add_argument("--loss", type=float, default=0.0)
    parser.add_argument("--seconds", type=float, default=40.0)
    parser.add_argument("--fast", action="store_true")
    parser.add_argument("--outage", action="store_true")
    parser.add_argument("--local", action="store_true")
    args = parser.parse_args()
    harness.binary = str(pathlib.Path(args.binary).resolve())
    os.chdir(ROOT)
    (local if args.local else network)(args)


if __name__ == "__main__":
    main()
