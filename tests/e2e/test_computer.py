"""The computer opponent: headless matches between two computers, a live game against one and its replay, and a
network match with the computer on one side."""

import re
import subprocess

import conftest
import harness
from harness import Game
from pictures import count, halves, region
from test_network import connect, displays, duel, ended, free_port, hashes  # noqa: F401 (displays: a fixture)


def headless(*args, cwd=conftest.ROOT):
    run = subprocess.run([harness.binary, "--headless", *map(str, args)], cwd=cwd, capture_output=True, text=True,
                         timeout=300)
    assert (run.returncode, run.stderr) == (0, ""), run.stdout[-300:]
    return run.stdout


def final_score(console):
    return tuple(map(int, re.findall(r"^Score: upper (\d+), lower (\d+)$", console, re.M)[-1]))


def test_seeded_headless_matches_repeat_their_lines_and_their_recording_replays_them(tmp_path):
    args = ["--bot", "ship1:hard", "--bot", "ship2:easy", "--rounds", "3", "--seed", "7"]
    first = headless(*args, "--record", tmp_path / "a.rec")
    assert first == headless(*args, "--record", tmp_path / "b.rec")
    assert "ship1 (top) is flown by the computer (hard)\nship2 (bottom) is flown by the computer (easy)\n" in first
    assert len(re.findall(r"^Score: ", first, re.M)) == 3 and first.endswith(f"Score: upper {final_score(first)[0]}, "
                                                                              f"lower {final_score(first)[1]}\n")
    recording = (tmp_path / "a.rec").read_text()
    assert recording == (tmp_path / "b.rec").read_text()
    # Another seed, other choices; no seed, the same match every time.
    headless(*args[:-1], "8", "--record", tmp_path / "c.rec")
    assert (tmp_path / "c.rec").read_text() != recording
    assert headless(*args[:-2]) == headless(*args[:-2])
    # The recording replays the match without the computer, also re-run after 8 frames from a restored save.
    replayed = headless("--replay", tmp_path / "a.rec", "--sync-test", "8")
    assert re.fullmatch(re.escape(first) + r"Replay finished after \d+ frames\nSync test passed: .*\n", replayed)


# A few seeds of what the tournament (bench/tournament) measures over many: the better level wins most rounds,
# on either side.
def test_the_better_level_wins_most_rounds_on_either_side():
    for seed in (1, 2):
        hard, easy = final_score(headless("--bot", "ship1:hard", "--bot", "ship2:easy", "--rounds", 5, "--seed", seed))
        assert hard >= 4, (hard, easy)
        normal, hard = final_score(headless("--bot", "ship1:normal", "--bot", "ship2:hard", "--rounds", 5, "--seed",
                                            seed))
        assert hard >= 3, (normal, hard)


def cpu_mark(half):
    """The CPU mark's cyan pixels in the half's upper left corner."""
    return count(region(half, 0, 0, half.width // 8, half.height // 6), lambda r, g, b: b > 200 and 150 < g < 240
                 and r < 140)


def test_a_live_game_against_the_computer_replays_to_the_same_console_and_pictures(xvfb, tmp_path):
    folder = conftest.game_folder(tmp_path)
    with Game(xvfb, cwd=folder, args=["--bot", "ship2", "--record", "live.rec"]) as game:
        game.key("1", "2")  # bloom and contours off: faster frames
        game.wait_for_output("Contours off")
        game.key("F2")
        game.frames(20)
        game.key("F12")
        game.wait_for_output("Screenshot saved to ")
        game.key("Escape")
        assert game.wait_exit() == 0, game.stderr
    live = game.stdout.removeprefix("Fullscreen? (y|n) ")
    assert "ship2 (bottom) is flown by the computer (normal)\n" in live
    (shot,) = conftest.pictures(folder).values()
    top, bottom = halves(shot)
    assert cpu_mark(bottom) > 30 and cpu_mark(top) == 0
    recording = (folder / "live.rec").read_text()
    assert "computer ship2 normal\n" in recording and "pad ship2 " in recording
    for picture in (folder / "screenshots").iterdir():
        picture.unlink()
    with Game(xvfb, "", cwd=folder, args=["--replay", "live.rec"]) as replay:
        assert replay.wait_exit(300) == 0
    assert re.fullmatch(re.escape(live) + r"Replay finished after \d+ frames\n", replay.stdout)
    assert list(conftest.pictures(folder).values()) == [shot]


def test_a_network_match_with_the_computer_on_one_side_stays_in_step(displays):
    host, join = connect(displays, free_port(), ("--bot", "ship1:hard", "--net-check"), ("--net-check",))
    with host, join:
        for game in (host, join):
            game.key("1", "2")
            game.wait_for_output("Contours off")
        for game in (host, join):
            game.wait_for_output("Score: upper 1, lower 0", timeout=600)
            game.wait_for_output("Match hash at frame 120:", timeout=300)
        join.key("Escape")
        assert join.wait_exit() == 0
        ended(host, 0, "The other player left the match.")
    consoles = [duel(game.stdout) for game in (host, join)]
    assert "ship1 (top) is flown by the computer (hard)" in consoles[1]
    shared = min(len(hashes(console)) for console in consoles)
    assert shared >= 2 and hashes(consoles[0])[:shared] == hashes(consoles[1])[:shared]
    # Each machine says its own toggles as they are pressed, among whatever steps it had confirmed by then.
    own = ("Match hash", "Bloom off", "Contours off")
    rounds = [[line for line in console if not line.startswith(own)] for console in consoles]
    assert rounds[0] == rounds[1]
