"""Figures of network play through the test relay, one game per Xvfb:
    python3 bench/network_figures.py BINARY [DELAY_MS LOSS_PERCENT SECONDS [fast]]
in the 1024 x 768 window, with every effect or (fast) bloom and contours off as the end-to-end test plays. Prints,
for the joiner: key-to-console latency of PAUSE (the frame that runs the press prints "Game paused"; the
picture of that frame follows within its drawing), the longest gap between two frames, the mean frame time, and
the bytes a second each way."""

import os
import pathlib
import socket
import statistics
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import harness  # noqa: E402
from relay import Relay  # noqa: E402


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def lines_with_times(game, until, seen):
    """Polls the game's standard output every millisecond until `until`; each new line with when it showed."""
    offset = len(game.stdout)
    while time.monotonic() < until:
        text = game.stdout
        if len(text) > offset:
            now = time.monotonic()
            for line in text[offset:].splitlines():
                seen.append((now, line))
            offset = len(text)
        time.sleep(0.001)


def main():
    harness.binary = str(pathlib.Path(sys.argv[1]).resolve())
    delay, loss, seconds = (float(a) for a in (sys.argv[2:5] or ["80", "2", "30"]))
    fast = sys.argv[5:] == ["fast"]
    port = free_port()
    os.chdir(ROOT)
    with harness.xvfb() as first, harness.xvfb() as second, \
            Relay(port, delay / 1000, delay / 8000, loss / 100) as relay:
        with harness.Game(first, args=["--host", "--port", port]) as host:
            host.wait_for_output(f"Waiting for a player on port {port}")
            with harness.Game(second, args=["--join", "127.0.0.1", "--port", relay.port]) as join:
                join.wait_for_output("Joined the match")
                for game in (host, join) if fast else ():
                    game.key("1", "2")
                    game.wait_for_output("Contours off")
                join.key("F2")
                start, bytes_start = time.monotonic(), dict(relay.sent)
                seen, latencies = [], []
                while time.monotonic() - start < seconds:
                    pressed = time.monotonic()
                    join.key("Pause")
                    count = sum(1 for _, line in seen if line.startswith("Game "))
                    end = pressed + 2.0
                    while time.monotonic() < end:
                        lines_with_times(join, time.monotonic() + 0.05, seen)
                        answered = [t for t, line in seen if line.startswith("Game ")]
                        if len(answered) > count:
                            latencies.append((pressed, answered[-1]))
                            break
                    lines_with_times(join, time.monotonic() + 0.5, seen)
                elapsed = time.monotonic() - start
                sent = {way: (relay.sent[way] - bytes_start[way]) / elapsed for way in relay.sent}
                join.key("Escape")
    frames = [t for t, line in seen if line.startswith("Frame time: ")]
    gaps = [b - a for a, b in zip(frames, frames[1:])]
    waits = [answer - press for press, answer in latencies]
    # Frames shown between the press and the frame that ran it.
    behind = [sum(press < t < answer for t in frames) for press, answer in latencies]
    print(f"{delay:.0f} ms each way, {loss:.0f} % loss, {'fast' if fast else 'every effect'}, {elapsed:.0f} s:")
    print(f"  PAUSE to console on the joiner: median {statistics.median(waits) * 1000:.0f} ms "
          f"({statistics.median(behind)} frames shown between), max {max(waits) * 1000:.0f} ms "
          f"({max(behind)} frames), over {len(waits)} presses")
    print(f"  frames {len(frames)}, mean frame {statistics.mean(gaps) * 1000:.0f} ms, "
          f"longest gap {max(gaps) * 1000:.0f} ms, gaps over 100 ms: {sum(g > 0.1 for g in gaps)}")
    print("  bytes a second: " + ", ".join(f"{way} {rate:.0f}" for way, rate in sent.items()))


if __name__ == "__main__":
    main()
