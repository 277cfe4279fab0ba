"""Two games play over 127.0.0.1, each in its own window on its own X server, driven by xdotool."""

import shutil
import signal
import socket
import subprocess
import time

import pytest
from PIL import ImageGrab

import conftest
import harness
from harness import Game
from pictures import count, region, rock, share, star
from relay import Relay

@pytest.fixture
def displays(xvfb):
    with harness.xvfb() as other:
        yield xvfb, other


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def ended(game, code, last_line):
    """The game's exit code is `code` and the last line it printed `last_line`."""
    assert game.wait_exit(120) == code, game.stderr
    assert game.stdout.endswith(f"\n{last_line}\n"), game.stdout


def connect(displays, port, host_args=(), join_args=(), folders=(None, None), relay=None, host_env=None):
    """The joiner joins the host's port, or the relay's in front of it."""
    host = Game(displays[0], cwd=folders[0], env=host_env, args=["--host", "--port", port, *host_args])
    host.wait_for_output(f"Waiting for a player on port {port}")
    joined = relay.port if relay else port
    join = Game(displays[1], cwd=folders[1], args=["--join", "127.0.0.1", "--port", joined, *join_args])
    join.wait_for_output(f"Joined the match at 127.0.0.1:{joined}")
    host.wait_for_output("Player joined from 127.0.0.1")
    return host, join


def waiting_mark(game):
    """Even white pixels where PAUSED would be, in the window as it shows now (bloom off)."""
    x, y, width, height = game.geometry()
    shot = ImageGrab.grab(bbox=(x, y, x + width, y + height), xdisplay=game.display)
    return count(region(shot, 212, 200, 600, 60), lambda *rgb: min(rgb) >= 225 and max(rgb) - min(rgb) <= 6)


def hashes(lines):
    return [line for line in lines if line.startswith("Match hash at frame ")]


# Lines that differ by design: how each side connected, and the host hearing that the joiner left.
CONNECTION = ("Waiting for a player on port ", "Player joined from ", "Joined the match at ",
              "The other player left the match.")


def duel(console):
    """The console less the question, as a replay prints it, and less the connection lines."""
    console = console.removeprefix("Fullscreen? (y|n) ")
    return [line for line in console.splitlines()
            if not line.startswith(CONNECTION + ("Replay finished after ", "Sync test passed"))]


def test_the_hosts_shots_end_ship2_alike_on_both_machines_and_the_recordings_replay_alike(displays, tmp_path):
    """Through a relay that delays each datagram 80 ± 10 ms, loses 10 % of them each way and cuts the link for 3 s,
    shorter than the silence that loses the other player, and for 2 s again just before the joiner quits."""
    folders = [tmp_path / "host", tmp_path / "join"]
    for folder in folders:
        folder.mkdir()
        conftest.game_folder(folder)
    port = free_port()
    with Relay(port, delay=0.08, jitter=0.01, loss=0.10) as relay:
        host, join = connect(displays, port, ("--net-check", "--record", folders[0] / "live.rec"),
                             ("--net-check", "--record", folders[1] / "live.rec"), folders, relay)
        with host, join:
            for game in (host, join):
                game.key("1", "2")  # bloom and contours off, locally: faster frames
                game.wait_for_output("Contours off")
            marks = [waiting_mark(join)]
            relay.cut = True
            time.sleep(2.5)  # far beyond the prediction window: the joiner waits, and its view says so
            marks.append(waiting_mark(join))
            time.sleep(0.5)
            relay.cut = False
            # Mouse steering turns ship1 right by the cursor's distance: 1571 pixels make the quarter turn to
            # ship2. P puts the cursor to the centre and turns nothing; seen back there, steering is on.
            host.xdotool("mousemove", "--window", host.window, 612, 384)
            host.steer("key", "--window", host.window, "p")
            for x in (1012, 1012, 1012, 583):
                host.steer("mousemove", "--window", host.window, x, 384)
            for _ in range(40):
                if "Score: upper 1, lower 0" not in host.stdout:
                    host.key("space")
                    time.sleep(0.5)
            # Two desync checks in, each side's picture of a confirmed step.
            for game in (host, join):
                game.wait_for_output("Match hash at frame 120:", timeout=300)
                game.key("F12")
                game.wait_for_output("Screenshot saved to ")
            relay.cut = True  # quitting just after an outage: the Bye still gets through the loss
            time.sleep(2)
            relay.cut = False
            join.key("Escape")
            assert join.wait_exit() == 0
            ended(host, 0, "The other player left the match.")
    assert marks[0] < 300 and marks[1] >= 1500, marks  # the mark, shown only while waiting
    # The whole duel prints alike on both consoles, but for where each machine's picture was taken.
    consoles = [duel(game.stdout) for game in (host, join)]
    unshot = [[line for line in console if not line.startswith("Screenshot saved to ")] for console in consoles]
    assert unshot[0] == unshot[1]
    assert "Player of lower window died => Game is over!" in consoles[0] and len(hashes(consoles[0])) >= 2
    live = [conftest.pictures(folder) for folder in folders]
    for shots in live:
        (shot,) = shots.values()
        assert share(shot, rock) > 0.01 and share(shot, star) > 0.0005, "asteroids and stars in the picture"
    for folder in folders:
        shutil.rmtree(folder / "screenshots")
    replays = [Game(display, cwd=folder, args=["--replay", folder / "live.rec", "--net-check"])
               for display, folder in zip(displays, folders)]
    with replays[0], replays[1]:
        played = [(replay.wait_exit(600), duel(replay.stdout)) for replay in replays]
    assert played == [(0, console) for console in consoles]
    assert [conftest.pictures(folder) for folder in folders] == live
    # Without a window each machine's recording prints the same but for the pictures, also re-run after 8 frames.
    for folder, console in zip(folders, unshot):
        for how in (["--headless"], ["--sync-test", "8"]):
            run = subprocess.run([harness.binary, "--replay", folder / "live.rec", "--net-check", *how],
                                 cwd=folder, capture_output=True, text=True, timeout=300)
            assert (run.returncode, run.stderr, duel(run.stdout)) == (0, "", console), run.stdout[-300:]




def test_faults_end_with_their_line_and_exit_code(displays, tmp_path):
    """The session's faults reach the game's console and exit code (NetSessionTest has each fault's rules)."""
    port = free_port()
    folders = [tmp_path / "host", tmp_path / "join"]
    shutil.copytree(conftest.ROOT / "Voidskirmish", tmp_path / "Voidskirmish")
    with open(tmp_path / "Voidskirmish" / "Shader" / "draw.frag", "a") as shader:
        shader.write("// changed\n")
    # The same port twice; then a joiner whose shaders differ.
    with Game(displays[0], args=["--host", "--port", port]) as host:
        host.wait_for_output(f"Waiting for a player on port {port}")
        with Game(displays[1], args=["--host", "--port", port]) as second:
            assert second.wait_exit(120) == 2 and f"UDP port {port} is already in use\n" in second.stderr
        with Game(displays[1], cwd=tmp_path, args=["--join", "127.0.0.1", "--port", port]) as other:
            for game in (host, other):
                ended(game, 1, "The other player runs a different version of the game.")
    # Nobody answers: the joiner gives up within 10 s of being ready to play.
    nobody = free_port()
    with Game(displays[1], args=["--join", "127.0.0.1", "--port", nobody]) as lonely:
        lonely.wait_for_output("F10:")
        ready = time.monotonic()
        ended(lonely, 1, f"Could not reach 127.0.0.1:{nobody}")
        assert time.monotonic() - ready < 12
    # A third player is refused and the match goes on; then the host vanishes in the middle of it.
    host, join = connect(displays, port)
    with host, join:
        with Game(displays[0], args=["--join", "127.0.0.1", "--port", port]) as third:
            ended(third, 1, f"The match at 127.0.0.1:{port} already has two players.")
        host.wait_for_output("Refused a third player from 127.0.0.1")
        assert host.process.poll() is None and join.process.poll() is None
        host.process.send_signal(signal.SIGKILL)
        killed = time.monotonic()
        join.wait_for_output("Lost the connection to the other player.", timeout=30)
        assert time.monotonic() - killed < 5.0
        assert join.wait_exit() == 1
    # The host's ship flies on there alone from frame 30: both games stop at the next hash, and each recording
    # replays to the hash its machine saw.
    for folder in folders:
        folder.mkdir()
        conftest.game_folder(folder)
    record = [("--net-check", "--record", folder / "live.rec") for folder in folders]
    host, join = connect(displays, free_port(), *record, folders, host_env={"VOIDSKIRMISH_DESYNC_FRAME": "30"})
    with host, join:
        for game in (host, join):
            ended(game, 1, "The two games no longer agree at frame 60.")
    seen = [hashes(game.stdout.splitlines()) for game in (host, join)]
    assert len(seen[0]) == 1 and seen[0] != seen[1]
    for folder, console in zip(folders, seen):
        run = subprocess.run([harness.binary, "--replay", folder / "live.rec", "--net-check", "--headless"],
                             cwd=folder, capture_output=True, text=True, timeout=300)
        assert hashes(run.stdout.splitlines()) == console
    # The joiner's X window destroyed under it, then the host's closed by the window manager: each leaves as with
    # ESC.
    host, join = connect(displays, free_port())
    with host, join:
        join.xdotool("windowclose", join.window)
        assert join.wait_exit() == 0 and join.stderr == ""
        ended(host, 0, "The other player left the match.")
    with harness.window_manager(displays[0]):
        host, join = connect(displays, free_port())
        with host, join:
            host.key("alt+F4")
            assert host.wait_exit() == 0 and host.stderr == ""
            ended(join, 0, "The other player left the match.")


def test_each_machine_flies_with_its_own_settings(displays, tmp_path):
    folders = [tmp_path / "host", tmp_path / "join"]
    fire = ['[ship1]\nfire = "G"\n', '[ship2]\nfire = "H"\nup = "U"\n']
    for folder, keys in zip(folders, fire):
        (folder / "voidskirmish").mkdir(parents=True)
        (folder / "voidskirmish" / "settings.toml").write_text(keys + "[effects]\nbloom = false\ncontours = false\n")
        conftest.game_folder(folder)
    host, join = connect(displays, free_port(), ("--net-check", "--record", folders[0] / "live.rec"),
                         ("--net-check", "--record", folders[1] / "live.rec"), folders)
    with host, join:
        for game, key in ((host, "g"), (join, "h"), (join, "u")):
            game.xdotool("keydown", "--window", game.window, key)
            time.sleep(1)
            game.xdotool("keyup", "--window", game.window, key)
        for game in (host, join):
            game.wait_for_output("Match hash at frame 120:", timeout=300)
        join.key("Escape")
        assert join.wait_exit() == 0
        ended(host, 0, "The other player left the match.")
    assert hashes(host.stdout.splitlines())[:2] == hashes(join.stdout.splitlines())[:2]
    assert "\tG: laser gun\n" in host.stdout and "\tU: rotate up\n" not in host.stdout
    assert "\tU: rotate up\n\tH: laser gun\n" in join.stdout and (host.stderr, join.stderr) == ("", "")
    # Either machine's recording: each machine's own keys as the game's (G as SPACE, H as KP_0, U as KP_4).
    for folder in folders:
        text = (folder / "live.rec").read_text()
        presses = [line for line in text.splitlines() if line.startswith("key press")]
        assert presses[:3] == ["key press 32", "key press 320", "key press 324"], text[:400]
