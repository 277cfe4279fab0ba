"""A settings file: swapped and moved keys fly the ships as xdotool presses them, the old keys do nothing, the
help names the new ones, the HUD gets its labels, and the recording replays exactly without the file."""

import re
import subprocess
import time

import conftest
import harness
import pictures as p
from harness import Game

SETTINGS = """[ship1]
forward = "S"
back = "W"
[ship2]
forward = "I"
back = "K"
left = "J"
right = "L"
[window]
width = 800
height = 600
[effects]
bloom = false
frame_time = true
[hud]
style = "shapes"
"""


def labels(half):
    """Green of "YOU" left of the life bar, and red of "FOE" right of the score, at 800 x 600."""
    return (p.count(p.region(half, 288, 258, 44, 24), p.hud_green),
            p.count(p.region(half, 470, 12, 90, 32), lambda r, g, b: r > 180 and g < 80 and b < 80))


def test_bound_keys_fly_the_ships_the_old_do_nothing_and_the_recording_replays_without_the_file(
        xvfb, tmp_path, replay):
    folder = conftest.game_folder(tmp_path)
    (folder / "voidskirmish").mkdir()
    (folder / "voidskirmish" / "settings.toml").write_text(SETTINGS)
    recording = folder / "bound.rec"
    with Game(xvfb, "", cwd=folder, args=["--record", recording]) as game:
        assert game.geometry()[2:] == (800, 600)  # no questions: the file sets the window
        game.key("F12")
        game.frames()
        for key in ("s", "i", "Up", "Left"):  # Up and Left are nobody's keys now
            # Held for frames and for long enough that a thrust shows, however fast the frames come.
            game.xdotool("keydown", "--window", game.window, key)
            game.frames(3)
            time.sleep(0.6)
            game.xdotool("keyup", "--window", game.window, key)
        game.frames(3)
        game.key("F1", "F12")
        game.frames()
        game.key("Escape")
        assert game.wait_exit(60) == 0
    assert not game.stdout.startswith("Fullscreen?") and game.stderr == ""
    ship_keys = "\tS: move forward\n\tA: rotate left\n\tW: move back\n"
    assert game.stdout.count(ship_keys) == 2 and game.stdout.count("\tI: move forward\n\tJ: rotate left\n") == 2

    text = recording.read_text()
    assert re.match(r"voidskirmish-recording 2\ngame \S+\nwindow windowed 800 600\nstart bloom=off frame_time=on\n"
                    r"bindings S W A D F T SPACE I K J L KP_4 KP_8 KP_0\n", text), text
    keys = [line for line in text.splitlines() if line.startswith("key ") and " 301" not in line]
    # S thrusts ship1 forward as W did, I ship2 as UP did; Up and Left went nowhere.
    assert keys[:4] == ["key press 87", "key release 87", "key press 265", "key release 265"], keys

    live = conftest.pictures(folder)
    first, last = (live[frame] for frame in sorted(live))
    for before, after in zip(p.halves(first), p.halves(last)):
        assert p.changed(before, after) > 0.01, "a ship did not move"
        assert min(labels(after)) > 40, labels(after)

    frame_count = text.count("\nframe ")
    out, err, code, shots = replay(recording)
    assert (out, err, code) == (game.stdout + f"Replay finished after {frame_count} frames\n", "", 0)
    headless = subprocess.run([harness.binary, "--replay", recording, "--headless"], capture_output=True, text=True,
                              timeout=120)
    assert (headless.returncode, headless.stdout) == (0, re.sub(r"^Screenshot saved to .*\n", "", out, flags=re.M))
    # Replayed without the file the HUD has no labels, and nothing else differs there.
    for before, after in zip(p.halves(live[max(live)]), p.halves(shots[max(shots)])):
        assert labels(after) == (0, 0) and labels(before) != (0, 0)
        assert p.changed(p.region(before, 0, 60, 800, 180), p.region(after, 0, 60, 800, 180)) == 0


def test_problems_are_told_by_line_and_save_settings_writes_what_is_in_force(tmp_path):
    bad = tmp_path / "bad.toml"
    bad.write_text('[ship2]\nfire = "RIGHT_SHIFT"\nup = "Q1"\n[window]\nmode = 3\n')
    saved = tmp_path / "saved.toml"
    run = subprocess.run([harness.binary, "--settings", bad, "--save-settings", saved], capture_output=True,
                         text=True, timeout=60)
    assert (run.returncode, run.stdout) == (0, "")
    assert run.stderr == (f"{bad}:3: no key is named 'Q1' (see the README for the names)\n"
                          f"{bad}:5: window.mode must be a name in quotes\n")
    written = saved.read_text()
    assert 'fire = "RIGHT_SHIFT"  # fire the laser\n' in written and 'up = "KP_4"' in written
    assert '\n[window]  # with' in written and 'mode = "windowed"' in written
    again = subprocess.run([harness.binary, "--settings", saved, "--save-settings", tmp_path / "again.toml"],
                           capture_output=True, text=True, timeout=60)
    assert (again.returncode, again.stderr, (tmp_path / "again.toml").read_text()) == (0, "", written)
    usage = subprocess.run([harness.binary, "--hud", "round"], capture_output=True, text=True, timeout=60)
    assert usage.returncode == 2 and "--hud" in usage.stderr


def test_the_round_end_stays_on_screen_in_both_halves_until_enter(replay, tmp_path):
    # The duel's recording with a picture after ship2's death and one after the ENTER that starts the next round.
    duel = (conftest.REPLAYS / "duel.rec").read_text()
    shot = "key press 301\nkey release 301\nframe 0.1\n"
    recording = tmp_path / "banner.rec"
    recording.write_text(duel.replace("# 24: ENTER", shot + "# 24: ENTER").replace("# 25: ESC", shot + "# 25: ESC"))
    shots = replay(recording)[3]
    dead, restarted = (shots[frame] for frame in sorted(shots)[-2:])

    def white(half):  # "ROUND TO YOU" or "ROUND TO FOE" above the crosshair, "ENTER" below it
        return (p.count(p.region(half, 390, 58, 244, 30), p.star), p.count(p.region(half, 450, 270, 124, 26), p.star))
    for before, after in zip(p.halves(dead), p.halves(restarted)):
        assert min(white(before)) > 150 and max(white(after)) < 40, (white(before), white(after))
