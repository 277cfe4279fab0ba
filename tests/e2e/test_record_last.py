"""--record-last: a live game keeps its last seconds and writes them at ESC as a recording that starts from a
snapshot of the match; it replays on its own, headless, under the sync test and in a window, to the live game's
lines and pictures."""

import re
import subprocess

import pytest

import conftest
import harness
import pictures as p


@pytest.mark.parametrize("args", [["0", "last.rec"], ["1.5", "last.rec"], ["1801", "last.rec"], ["2"],
                                  ["2", "last.rec", "--replay", "x.rec"]])
def test_a_bad_record_last_is_a_usage_error_before_any_window(tmp_path, args):
    run = subprocess.run([harness.binary, "--record-last", *args], cwd=tmp_path, capture_output=True, text=True,
                         input="", timeout=30)
    assert run.returncode == 2 and "--record-last" in run.stderr + run.stdout and run.stdout == ""
    assert not (tmp_path / "last.rec").exists()


def test_the_last_seconds_of_a_live_game_replay_on_their_own_to_its_lines_and_pictures(xvfb, tmp_path, replay):
    (tmp_path / "live").mkdir()
    live_folder = conftest.game_folder(tmp_path / "live")
    with harness.Game(xvfb, cwd=live_folder, args=["--record-last", "2", "last.rec"]) as game:
        game.key("F2")
        # Ship1 thrusts at first (the kept seconds start where it flew to), then fires now and then, past the
        # first kept state after the start (5 s).
        game.xdotool("keydown", "--window", game.window, "w")
        game.frames(3)
        game.xdotool("keyup", "--window", game.window, "w")
        while sum(map(float, re.findall(r"Frame time: (\S+)", game.stdout))) < 9:
            game.key("space")
            game.frames(2)
        game.key("F12")
        game.wait_for_output("Screenshot saved to (.*)\n")
        game.key("Escape")
        assert game.wait_exit() == 0 and game.stderr == ""
    written = (live_folder / "last.rec").read_text().splitlines()
    assert written[:2] == ["voidskirmish-recording 2", "game 1.1.0"] and written[3].startswith("snapshot 1 ")
    seconds = sum(float(line.split()[1]) for line in written if line.startswith("frame "))
    assert 2 <= seconds <= 2 + 5 + 0.5, seconds

    headless = subprocess.run([harness.binary, "--replay", "last.rec", "--headless"], cwd=live_folder,
                              capture_output=True, text=True, timeout=60)
    frames = sum(line.startswith("frame ") for line in written)
    assert headless.returncode == 0 and headless.stdout.endswith(f"Replay finished after {frames} frames\n")
    # The kept frames print what they printed live: the last frame-time lines.
    def frame_lines(out):
        return [line for line in out.splitlines() if line.startswith("Frame time: ")]
    shown = frame_lines(headless.stdout)
    assert frames < len(frame_lines(game.stdout)) and len(shown) == frames
    assert frame_lines(game.stdout)[-frames:] == shown
    synced = subprocess.run([harness.binary, "--replay", "last.rec", "--sync-test", "8"], cwd=live_folder,
                            capture_output=True, text=True, timeout=120)
    assert synced.returncode == 0 and f"Sync test passed: {frames} frames" in synced.stdout

    # In a window it draws the live game's F12 picture bit for bit: the match it started from was the live one.
    live_shot = conftest.pictures(live_folder)
    stdout, stderr, code, replayed = replay(live_folder / "last.rec", "--replay-speed", "8")
    assert code == 0 and stderr == "" and replayed.keys() == live_shot.keys()
    (frame, shot), = replayed.items()
    assert shot.tobytes() == live_shot[frame].tobytes() and frame > frames
    assert [p.space_problems(half) for half in p.halves(shot)] == [[], []]
