"""The real input path, live: the start-up dialogue on standard input, and keys, mouse and window sizes from the
X server and a stall as --record writes them down, then replayed to the same console output and the same pictures."""

import re
import signal
import subprocess
import time

import pytest

import conftest
import harness
import pictures as p
from harness import Game

ASK = "Fullscreen? (y|n) "
AGAIN = "Input invalid. Try again. "
SCREEN = (1280, 1024)


def peak_memory(process):
    return int(re.search(r"^VmHWM:\s+(\d+) kB$", open(f"/proc/{process.pid}/status").read(), re.M)[1]) << 10


def test_dialogue_asks_again_until_answered_then_full_screen_fills_the_screen(xvfb, tmp_path):
    # Only a lower-case y or n alone, or before the rest of its line, answers; a size is the leading signed
    # int of its line; blank and sign-only lines are asked again; the last line needs no line end.
    stdin = "Y\nyes\n\ny 640 480\nabc\n   \n99999999999\n  5000abc\n\n-\n+4000 px"
    with Game(xvfb, stdin, cwd=conftest.game_folder(tmp_path)) as game:
        # Full screen on Xvfb always gets the screen's one mode, whatever size was asked.
        assert game.geometry()[2:] == SCREEN
        game.key("F12")
        game.wait_for_output("Screenshot saved to (.*)\n")
        # Frame buffers of the size asked would take 1.3 GB before the first frame; the screen's take 240 MB.
        assert peak_memory(game.process) < 512 << 20
        game.key("Escape")
        assert game.wait_exit() == 0
    width, height = "Monitor width: ", "Monitor height: "
    assert game.stdout.startswith(ASK + AGAIN + ASK + AGAIN + ASK + width + (AGAIN + width) * 3 + height +
                                  (AGAIN + height) * 2 + "\nHELP:")
    shot = next(iter(conftest.pictures(game.cwd).values()))
    assert shot.size == SCREEN and [p.space_problems(half) for half in p.halves(shot)] == [[], []]


@pytest.mark.parametrize("display, env, code, message, reason", [
    (False, {}, 255, "Failed to init glfw\n", "X11: The DISPLAY environment variable is missing"),
    (True, {"MESA_GL_VERSION_OVERRIDE": "3.3"}, 1, "Failed to open window\n", "GLX: .+")])
def test_glfw_says_why_it_cannot_start_or_open_the_window(xvfb, display, env, code, message, reason):
    with Game(xvfb if display else None, env=env) as game:
        assert game.wait_exit(30) == code
        assert game.stdout == ASK + message
        assert re.fullmatch(f"GLFW: {reason}\n", game.stderr)


def test_live_input_and_a_stall_are_recorded_and_the_replay_plays_them_alike(xvfb, tmp_path, replay):
    folder = conftest.game_folder(tmp_path)
    recording = folder / "live.rec"
    with Game(xvfb, cwd=folder, args=["--record", recording]) as game:
        assert game.geometry()[2:] == (1024, 768)
        for key in ("F2", "1", "F12"):  # frame-time lines to count frames by; bloom off for faster frames
            game.key(key)
            game.frames()
        game.key("w")
        game.xdotool("click", "--window", game.window, 1)  # the left button fires ship1
        # Steering off: the cursor stays where it is put and the recording has no cursor line.
        game.xdotool("mousemove", "--window", game.window, 612, 384)
        game.frames(2)
        x, y = game.geometry()[:2]
        assert game.pointer() == (x + 612, y + 384)
        game.key("p")  # steering starts where the cursor is: P puts it to the centre and turns nothing
        game.frames(2)
        for _ in range(6):  # a steady drag: each move turns ship1 in the frame that reads it, then re-centres
            game.steer("mousemove_relative", "--", 100, 0)
        game.key("p")
        game.xdotool("windowsize", "--sync", game.window, 900, 600)
        game.frames(2)
        game.key("F12")
        game.frames()
        game.process.send_signal(signal.SIGSTOP)  # a debugger, a suspended laptop
        time.sleep(3)
        game.process.send_signal(signal.SIGCONT)
        game.frames(2)
        game.key("Escape")
        assert game.wait_exit(30) == 0
    live_shots = conftest.pictures(folder)
    # The stall reaches the rules as half a second.
    assert "Frame time: 0.5\t | FPS: 2\n" in game.stdout

    text = recording.read_text()
    assert re.match(r"voidskirmish-recording 1\ngame \d+\.\d+\.\d+\nwindow windowed 1024 768\n", text), text
    def tap(*codes):  # GLFW key codes: F2 291, 1 49, F12 301, W 87, P 80, ESC 256
        return [f"key {action} {code}" for code in codes for action in ("press", "release")]
    events = [line for line in text.splitlines()[3:] if not line.startswith("frame")]
    if events[-1] == "key release 256":
        events.pop()  # the quitting frame has ESC's release only when the tap was over that fast
    assert events == (tap(291, 49, 301, 87) + ["button press 0", "button release 0"] + tap(80)
                      + ["cursor 612 384"] * 6 + tap(80) + ["size 900 600"] + tap(301) + ["key press 256"]), text
    assert all(frame.count("cursor") <= 1 for frame in re.split("^frame .*$", text, flags=re.M)), text
    assert max(float(line.split()[1]) for line in text.splitlines() if line.startswith("frame ")) == 0.5

    frame_count = text.count("\nframe ")
    replayed = game.stdout[len(ASK):] + f"Replay finished after {frame_count} frames\n"
    out, err, code, shots = replay(recording)
    assert (out, err, code) == (replayed, "", 0)
    assert [shot.size for shot in shots.values()] == [(1024, 768), (900, 600)]
    assert {frame: shot.tobytes() for frame, shot in shots.items()} == {
        frame: shot.tobytes() for frame, shot in live_shots.items()}
    # Without a window: the same lines but the screenshots'.
    headless = subprocess.run([harness.binary, "--replay", recording, "--headless"], cwd=folder, capture_output=True,
                              text=True, timeout=120)
    assert (headless.returncode, headless.stderr) == (0, "")
    assert headless.stdout == re.sub(r"^Screenshot saved to .*\n", "", replayed, flags=re.M)


def test_an_automatic_scale_is_recorded_as_it_moves_and_replays_to_the_same_pictures(xvfb, tmp_path, replay):
    folder = conftest.game_folder(tmp_path)
    recording = folder / "auto.rec"
    # No frame here fits in 1 ms: the scale steps down once a second to 0.25 and settles there.
    with Game(xvfb, cwd=folder, args=["--record", recording, "--render-scale", "auto", "--frame-budget", "1"]) as game:
        harness.wait_until(lambda: recording.exists() and "scale 0.6\n" in recording.read_text(), 120, "scale 0.6")
        game.key("F12")
        game.wait_for_output("Render scale settled at 0.25\n")
        game.key("F12")
        game.wait_for_output("Screenshot saved to", 2)
        game.key("Escape")
        assert game.wait_exit(30) == 0
    text = recording.read_text()
    assert text.startswith("voidskirmish-recording 2\n")
    scales = [line[6:] for line in text.splitlines() if line.startswith("scale ")]
    assert scales == [f"{percent / 100:g}" for percent in range(100, 20, -5)] + ["0.25 settled"], scales
    out, err, code, shots = replay(recording)
    assert (out, err, code) == (game.stdout[len(ASK):] + f"Replay finished after {text.count('frame ')} frames\n",
                                "", 0)
    live_shots = conftest.pictures(folder)
    assert len(live_shots) == 2 and {frame: shot.tobytes() for frame, shot in shots.items()} == {
        frame: shot.tobytes() for frame, shot in live_shots.items()}
