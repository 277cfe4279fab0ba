"""Spectators watch a network match over 127.0.0.1, each game on its own X server."""

import contextlib
import signal

import pytest

import conftest
import harness
from harness import Game
from pictures import count, halves, hud_green, region
from test_network import connect, duel, free_port, hashes

SMALL = '[window]\nmode = "windowed"\nwidth = 320\nheight = 240\n[effects]\nbloom = false\ncontours = false\n'
# The host's notices about those who watch, and a spectator's own lines.
WATCHING = ("A spectator ", "Watching the match at ", "The match is over.", "Screenshot saved to ")


def life_bar(half):
    """A row of the HUD's green across a sixteenth of the half: its life bar, which a player's one view has once."""
    return any(count(region(half, 0, y, half.width, 1), hud_green) > half.width // 16 for y in range(half.height))


def seen(game):
    return [line for line in duel(game.stdout) if not line.startswith(WATCHING)]


@pytest.fixture
def displays(xvfb):
    with contextlib.ExitStack() as stack:
        yield [xvfb] + [stack.enter_context(harness.xvfb()) for _ in range(4)]


def test_two_spectators_print_the_duel_one_joining_late_one_killed(displays, tmp_path):
    folders = [tmp_path / name for name in ("host", "join", "early", "late")]
    for folder in folders:
        (folder / "voidskirmish").mkdir(parents=True)
        (folder / "voidskirmish" / "settings.toml").write_text(SMALL)
        conftest.game_folder(folder)
    port = free_port()
    spectate = ["--spectate", "127.0.0.1", "--port", port, "--net-check"]
    nobody = free_port()
    lonely = Game(displays[4], cwd=folders[3], args=["--spectate", "127.0.0.1", "--port", nobody])
    early = Game(displays[2], cwd=folders[2], args=spectate)
    host, join = connect(displays, port, ("--bot", "ship1:hard", "--net-check"), ("--net-check",), folders)
    with host, join, early:
        early.wait_for_output(f"Watching the match at 127.0.0.1:{port}")
        early.wait_for_output("Match hash at frame 60:", timeout=120)
        with Game(displays[3], cwd=folders[3], args=spectate) as late:
            late.wait_for_output("Match hash at frame 60:", timeout=120)
            late.key("F12")
            early.process.send_signal(signal.SIGKILL)
            join.key("Pause")
            host.wait_for_output("Game paused")
            join.key("Pause")
            host.wait_for_output("Game resumed")
            for game in (host, join):  # both have confirmed the round's end
                game.wait_for_output("Score: upper 1, lower 0", timeout=120)
            join.key("Escape")
            assert join.wait_exit() == 0
            assert host.wait_exit() == 0 and late.wait_exit(60) == 0, late.stdout[-500:]
    assert host.stdout.count("A spectator joined from 127.0.0.1\n") == 2
    players = [seen(game) for game in (host, join)]
    assert players[0] == players[1] and "Game resumed" in players[0] and len(hashes(players[0])) >= 3
    watched = [seen(game) for game in (early, late)]
    assert watched[1] == players[0]
    assert watched[0] == players[0][:len(watched[0])] and len(hashes(watched[0])) >= 1
    (shot,) = conftest.pictures(folders[3]).values()
    assert all(life_bar(half) for half in halves(shot)), "both halves, as a local game shows them"
    assert late.stdout.endswith("\nThe match is over.\n") and (host.stderr, late.stderr) == ("", "")
    with lonely:  # as a joiner would, within 10 s of being ready
        assert lonely.wait_exit(60) == 1 and lonely.stdout.endswith(f"\nCould not reach 127.0.0.1:{nobody}\n")
