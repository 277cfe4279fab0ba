"""Two games play over 127.0.0.1, each in its own window on its own Xvfb, driven by xdotool. Run from the
repository root with `python3 -m pytest tests/e2e/test_network.py --binary build/voidskirmish`."""

import os
import shutil
import signal
import socket
import subprocess
import threading
import time
from contextlib import contextmanager
from pathlib import Path

import harness

ROOT = Path(__file__).resolve().parents[2]
GAME_OVER = "\n".join(["", "-" * 65, "Player of lower window died => Game is over!",
                       "Please Restart with ENTER or exit the game with ESC", "-" * 65, "Score: upper 1, lower 0"])
games = []


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


@contextmanager
def xvfb():
    """A private X server; yields its display name. Games still running at the end are killed."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                              pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        display = ":" + pipe.readline().strip()
    try:
        yield display
    finally:
        for game in games:
            game.process.kill()
        server.kill()
        server.wait()


class Game:
    """The game answering `n` to the window question, its console lines read as they come, with their times."""

    def __init__(self, display, *args, cwd=ROOT):
        self.env = dict(os.environ, DISPLAY=display)
        self.process = subprocess.Popen([harness.binary(), *map(str, args)], cwd=cwd, env=self.env, text=True,
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.process.stdin.write("n\n")
        self.process.stdin.close()
        self.lines, self.window = [], None
        self.reader = threading.Thread(target=lambda: self.lines.extend(
            (time.monotonic(), line.rstrip("\n")) for line in self.process.stdout), daemon=True)
        self.reader.start()
        games.append(self)

    def wait_for(self, text, timeout=120):
        """The time the first line holding `text` was printed."""
        for _ in range(int(timeout / 0.2)):
            found = [at for at, line in list(self.lines) if text in line]
            if found:
                return found[0]
            time.sleep(0.2)
        raise AssertionError(f"no '{text}' within {timeout} s: {self.output()[-20:]}")

    def output(self, after=None):
        lines = [line for _, line in self.lines]
        return lines if after is None else lines[next(i for i, line in enumerate(lines) if after in line) + 1:]

    def xdotool(self, command, *args):
        """Keys and cursor moves go to the game's window."""
        self.window = self.window or subprocess.run(["xdotool", "search", "--sync", "--name", "Voidskirmish"],
                                                    env=self.env, capture_output=True, text=True, timeout=60).stdout
        window = ["--window", self.window.split()[0]] if command in ("key", "mousemove") else []
        return subprocess.run(["xdotool", command, *window, *map(str, args)], env=self.env, check=True,
                              capture_output=True, text=True, timeout=30).stdout

    def exit_code(self, timeout=60):
        code = self.process.wait(timeout)
        self.reader.join(10)
        self.stderr = self.process.stderr.read()
        return code


def hashes(lines):
    return [line for line in lines if line.startswith("Match hash at frame ")]


def connect(host_display, join_display, port, host_args=(), join_args=()):
    host = Game(host_display, "--host", "--port", port, *host_args)
    host.wait_for(f"Waiting for a player on port {port}")
    join = Game(join_display, "--join", "127.0.0.1", "--port", port, *join_args)
    join.wait_for(f"Joined the match at 127.0.0.1:{port}")
    host.wait_for("Player joined from 127.0.0.1")
    return host, join


def test_the_hosts_shots_end_ship2_alike_on_both_machines_and_the_recordings_replay_alike(tmp_path):
    with xvfb() as one, xvfb() as two:
        host, join = connect(one, two, free_port(), ("--net-check", "--record", tmp_path / "host.rec"),
                             ("--net-check", "--record", tmp_path / "join.rec"))
        for game in (host, join):
            game.xdotool("key", "1", "2")  # bloom and contours off, locally: faster frames
            game.wait_for("Contours off")
        # Mouse steering turns ship1 right by the cursor's distance: 1571 pixels make the quarter turn to ship2.
        host.xdotool("mousemove", 512, 384)
        host.xdotool("key", "p")
        for x in (1012, 1012, 1012, 583):
            host.xdotool("mousemove", x, 384)
            for _ in range(100):  # until the game has read the cursor and put it back
                if host.xdotool("getmouselocation").startswith("x:512 y:384 "):
                    break
                time.sleep(0.2)
        for _ in range(40):
            if "Score: upper 1, lower 0" not in host.output():
                host.xdotool("key", "space")
                time.sleep(0.5)
        for game in (host, join):
            game.wait_for("Match hash at frame 60:", 300)
        join.xdotool("key", "Escape")
        assert join.exit_code() == 0
        assert host.exit_code() == 0 and host.output()[-1] == "The other player left the match."
        consoles = [host.output("Player joined from")[:-1], join.output("Joined the match at")]
        common = min(map(len, consoles))
        assert consoles[0][:common] == consoles[1][:common] and hashes(consoles[0][:common])
        assert GAME_OVER in "\n".join(consoles[0])
        replays = [Game(display, "--replay", tmp_path / name, "--net-check")
                   for display, name in ((one, "host.rec"), (two, "join.rec"))]
        assert [(r.exit_code(600), hashes(r.output())) for r in replays] == [(0, hashes(c)) for c in consoles]


def test_faults_end_with_their_line_and_exit_code(tmp_path):
    port = free_port()
    with xvfb() as one, xvfb() as two:
        # The same port twice; then a joiner whose shaders differ.
        host = Game(one, "--host", "--port", port)
        host.wait_for(f"Waiting for a player on port {port}")
        second = Game(two, "--host", "--port", port)
        assert second.exit_code(120) == 2 and f"UDP port {port} is already in use\n" in second.stderr
        shutil.copytree(ROOT / "Voidskirmish", tmp_path / "Voidskirmish")
        with open(tmp_path / "Voidskirmish" / "Shader" / "draw.frag", "a") as shader:
            shader.write("// changed\n")
        other = Game(two, "--join", "127.0.0.1", "--port", port, cwd=tmp_path)
        for game in (host, other):
            assert game.exit_code(120) == 1
            assert game.output()[-1] == "The other player runs a different version of the game."
        # Nobody answers; a third player is refused; then the host vanishes in the middle of the match.
        nobody = free_port()
        lonely = Game(one, "--join", "127.0.0.1", "--port", nobody)
        built = lonely.wait_for("F10:")
        assert lonely.exit_code(120) == 1 and time.monotonic() - built < 12
        assert lonely.output()[-1] == f"Could not reach 127.0.0.1:{nobody}"
        host, join = connect(one, two, port)
        third = Game(one, "--join", "127.0.0.1", "--port", port)
        assert third.exit_code(120) == 1
        assert third.output()[-1] == f"The match at 127.0.0.1:{port} already has two players."
        assert host.process.poll() is None and join.process.poll() is None, "the match goes on"
        killed = time.monotonic()
        host.process.send_signal(signal.SIGKILL)
        assert join.wait_for("Lost the connection to the other player.", 30) - killed < 5.0
        assert join.exit_code() == 1
