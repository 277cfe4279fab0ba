"""Watching a replay: the replay's own keys on the real binary (xdotool), a seek's picture against a straight
replay's at the same frame, and the options that start a replay elsewhere or at another pace."""

import re
import subprocess

import pytest

import conftest
import harness

FRAMES = 200  # of 0.1 s: LEFT from the end lands ten seconds back


def recording(shots=(), escape=None):
    """F2 on, ship1 firing every two seconds and thrusting now and then; F12 at `shots`, ESC at `escape`."""
    lines = ["voidskirmish-recording 1", "game 1.1.0", "window windowed 640 480"]
    for frame in range(1, FRAMES + 1):
        lines += ["key press 291", "key release 291"] * (frame == 1) + ["key press 32", "key release 32"] * (
            frame % 20 == 0) + ["key press 87"] * (frame % 30 == 10) + ["key release 87"] * (frame % 30 == 25)
        lines += ["key press 301", "key release 301"] * (frame in shots) + ["key press 256"] * (frame == escape)
        lines.append("frame 0.1")
    return "\n".join(lines) + "\n"


def test_replay_keys_pause_jump_step_and_change_speed_and_a_seek_draws_the_straight_frame(xvfb, tmp_path, replay):
    folder = conftest.game_folder(tmp_path)
    (folder / "watch.rec").write_text(recording())
    with harness.Game(xvfb, "", cwd=folder, args=["--replay", "watch.rec", "--replay-speed", "0.5"]) as game:
        game.frames(3)
        # Each key's line, and where it left the replay; the paused replay shows no new frame until moved.
        for keys, line in ((["space"], r"Replay paused at frame (\d+) of 200"),
                           (["End"], "Replay at frame 200 of 200"), (["Up"], r"Replay speed x1\n"),
                           (["F11", "F12", "Left"], r"Replay at frame (\d+) of 200"),
                           (["F11", "F12", "period"], "Replay at frame 102"),
                           (["1"], "Bloom off"), (["Home"], "Replay at frame 1 of 200"),
                           (["space"], "Replay resumed at frame 1 of 200")):
            seen = len(re.findall(line, game.stdout))
            game.key(*keys)
            game.wait_for_output(line, seen + 1)
        game.frames(2)
        game.key("Escape")
        assert game.wait_exit() == 0
    out = game.stdout
    landed = int(re.findall(r"Replay at frame (\d+) of 200", out)[1])
    assert landed == 101 and f"Screenshot saved to screenshots/voidskirmish-{landed:06d}.png" in out
    assert re.search(r"Replay finished after \d+ frames\n$", out) and game.stderr == ""
    assert out.count("Bloom off") == 1, "a jump puts the watcher's toggles back silently"
    # The straight replay draws the frame the seek landed on bit for bit alike (a beam and its sparks in it).
    straight_path = tmp_path / "straight.rec"
    straight_path.write_text(recording(shots=(landed,), escape=landed + 1))
    straight = replay(straight_path, "--replay-speed", "8")[3]
    sought = conftest.pictures(folder)[landed]
    assert sought.tobytes() == straight[landed].tobytes()
    assert len(set(sought.getdata())) > 1000, "a picture with something in it"
    # F11 showed the bar again: the frame after has it at the bottom, played to the middle, in the HUD's green.
    bar = conftest.pictures(folder)[landed + 1].crop((10, 468, 630, 472))
    green = [x for x in range(bar.width) if bar.getpixel((x, 2)) == (0, 255, 0)]
    assert green and abs(green[-1] - bar.width // 2) < 10, green[-5:]


@pytest.mark.parametrize("args, code, stderr", [
    (["--replay-from", "0"], 2, r"--replay-from: Value 0 not in range.*"),
    (["--replay-from", "201"], 2, r"--replay-from: frame 201 is past the last frame of w.rec \(200\)\n"),
    (["--replay-from", "201", "--headless"], 2, r"--replay-from: frame 201 is past the last frame of w.rec.*"),
    (["--replay-speed", "3"], 2, r"--replay-speed: Value 3 is none of 0.25, 0.5, 1, 2, 4, 8\n.*"),
    (["--replay-speed", "3", "--headless"], 2, r"--replay-speed: Value 3 .*"),
    (["--replay-from", "150", "--replay-speed", "8", "--headless"], 0, ""),
])
def test_replay_options_are_checked_before_any_window_and_start_at_the_frame(tmp_path, args, code, stderr):
    (tmp_path / "w.rec").write_text(recording())
    run = subprocess.run([harness.binary, "--replay", "w.rec", *args], cwd=conftest.game_folder(tmp_path),
                         capture_output=True, text=True, timeout=120, env={"PATH": "/usr/bin:/bin"})
    assert run.returncode == code and re.fullmatch(stderr, run.stderr, re.S), run.stderr
    if code == 0:  # the frames before 150 advanced silently: only the last 51 frame-time lines
        assert run.stdout.count("Frame time: ") == 51 and run.stdout.endswith("Replay finished after 200 frames\n")
