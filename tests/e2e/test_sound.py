"""Sound, heard through OpenAL Soft's wave output (the mix written to a file, 32-bit float stereo, in real time):
a replayed duel's mix against its recording, silence when muted, and the one line a failure gives."""

import array
import shutil
import struct

import pytest
from PIL import Image, ImageDraw

import conftest
import harness

WINDOW = 0.005  # seconds a peak is taken over


def play(display, folder, recording, *options, drivers="wave"):
    """Replays `recording` in `folder`; (stdout, stderr, exit code, the mix as (rate, left, right) or None)."""
    (folder / "al.conf").write_text(f"[wave]\nfile = {folder / 'mix.wav'}\n")
    env = {"ALSOFT_DRIVERS": drivers, "ALSOFT_CONF": str(folder / "al.conf")}
    with harness.Game(display, "", cwd=folder, env=env, args=["--replay", recording, *options]) as game:
        code = game.wait_exit(300)
    mix = read_mix(folder / "mix.wav") if drivers == "wave" else None
    return game.stdout, game.stderr, code, mix


def read_mix(path):
    """The WAVE_FORMAT_EXTENSIBLE float file as (rate, left, right), read chunk by chunk."""
    data, at = path.read_bytes(), 12
    while at + 8 <= len(data):
        kind, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        body = data[at + 8:at + 8 + size]
        if kind == b"fmt ":
            channels, rate = struct.unpack("<HI", body[2:8])
            assert (channels, struct.unpack("<H", body[14:16])[0]) == (2, 32)
        elif kind == b"data":
            samples = array.array("f", body[:len(body) // 4 * 4])
        at += 8 + size + (size & 1)
    return rate, samples[0::2], samples[1::2]


def peaks(rate, channel):
    step = int(rate * WINDOW)
    return [max(map(abs, channel[i:i + step])) for i in range(0, len(channel) - step + 1, step)]


def onsets(loudest):
    """Windows where the mix jumps up: a sound starts. Rises within 40 ms (OpenAL starts sounds at its mixing
    steps of about 23 ms) are one start."""
    rises = [k for k in range(1, len(loudest)) if loudest[k] - loudest[k - 1] > 0.08]
    return [k for n, k in enumerate(rises) if n == 0 or k - rises[n - 1] > 0.04 / WINDOW]


def plot(path, left, right):
    """Both channels' peaks over time, left above right, for a look by eye."""
    image = Image.new("RGB", (len(left), 202), "white")
    draw = ImageDraw.Draw(image)
    for x, (a, b) in enumerate(zip(left, right)):
        draw.line([(x, 100), (x, 100 - 100 * a)], fill="blue")
        draw.line([(x, 101), (x, 101 + 100 * b)], fill="red")
    image.save(path)


def shot_frames(recording):
    frames, fired = [], False
    for line in recording.read_text().splitlines():
        fired = fired or line == "key press 32"
        if line.startswith("frame "):
            frames.append(fired)
            fired = False
    return [n for n, shot in enumerate(frames, 1) if shot]


def test_duel_is_heard_shot_by_shot_placed_for_ship_1_on_the_left(xvfb, tmp_path):
    recording = conftest.REPLAYS / "duel.rec"
    out, err, code, (rate, left, right) = play(xvfb, conftest.game_folder(tmp_path), recording)
    assert (code, err, out) == (0, "", (conftest.REPLAYS / "duel.out").read_text())
    left_peaks, right_peaks = peaks(rate, left), peaks(rate, right)
    plot(tmp_path / "mix.png", left_peaks, right_peaks)
    loudest = list(map(max, left_peaks, right_peaks))
    starts = onsets(loudest)
    shots = shot_frames(recording)
    # Nothing before the first shot, which comes after two recorded frames of 0.1 s; then a start of sound for
    # every frame with a shot (the explosion's noise may add more). A sound that starts in a window's last samples
    # has not risen far yet: its rise shows in the next window.
    first = next(i for i, value in enumerate(left) if value != 0.0)
    assert first / rate > 0.15 and starts[0] - first // int(rate * WINDOW) in (0, 1), (starts[0], first)
    assert len(starts) >= len(shots), (starts, shots)
    # The first shot flies at nothing: the laser alone, at its full 0.5 on ship 1's left and, 20 units from ship 2,
    # at half that on the right.
    shot = slice(first, first + int(0.05 * rate))
    ratio = max(map(abs, left[shot])) / max(map(abs, right[shot]))
    assert 1.9 < ratio < 2.1 and 0.33 < max(map(abs, left[shot])) < 0.37
    assert all(abs(a - 2 * b) < 1e-3 for a, b in zip(left[shot], right[shot]))


def test_each_engine_hums_on_its_own_side_while_its_ship_thrusts(xvfb, tmp_path):
    """flight.rec flies ship 1 forward, then ship 2, then both, with coasting between."""
    out, err, code, (rate, left, right) = play(xvfb, conftest.game_folder(tmp_path), conftest.REPLAYS / "flight.rec")
    assert (code, err, out) == (0, "", (conftest.REPLAYS / "flight.out").read_text())
    sides = ["left" if a > 2 * b else "right" if b > 2 * a else "both" if a else "-"
             for a, b in zip(peaks(rate, left), peaks(rate, right))]
    runs = [side for n, side in enumerate(sides) if n == 0 or side != sides[n - 1]]
    assert runs[:6] == ["-", "left", "-", "right", "-", "both"], runs


@pytest.mark.parametrize("how", ["--mute", "M"])
def test_muted_duel_is_silent(xvfb, tmp_path, how):
    folder = conftest.game_folder(tmp_path)
    recording = conftest.REPLAYS / "duel.rec"
    if how == "M":
        text = recording.read_text().replace("frame 0.1\n", "key press 77\nkey release 77\nframe 0.1\n", 1)
        recording = folder / "muted.rec"
        recording.write_text(text)
    out, err, code, (_, left, right) = play(xvfb, folder, recording, *(["--mute"] if how == "--mute" else []))
    assert (code, err, out.count("Sound off")) == (0, "", how == "M")
    assert len(left) > 44100 and not any(left) and not any(right)


@pytest.mark.parametrize("damage, line", [
    ("missing", "No sound: Voidskirmish/Sound/laser.wav cannot be read\n"),
    ("broken", "No sound: Voidskirmish/Sound/laser.wav is not a WAV file\n"),
    ("cut", "No sound: Voidskirmish/Sound/laser.wav holds no sound\n"),
    ("no device", "No sound: no audio device could be opened\n"),
])
def test_sound_failure_says_one_line_and_the_game_plays_on(xvfb, tmp_path, damage, line):
    runtime = tmp_path / "Voidskirmish"
    runtime.mkdir()
    for part in ("Shader", "Material"):
        (runtime / part).symlink_to(conftest.ROOT / "Voidskirmish" / part)
    shutil.copytree(conftest.ROOT / "Voidskirmish" / "Sound", runtime / "Sound")
    laser = runtime / "Sound" / "laser.wav"
    if damage == "missing":
        laser.unlink()
    elif damage == "broken":
        laser.write_bytes(b"not a sound at all")
    elif damage == "cut":
        laser.write_bytes(laser.read_bytes()[:44])
    out, err, code, _ = play(xvfb, tmp_path, conftest.REPLAYS / "pause.rec",
                             drivers="no-such-output" if damage == "no device" else "null")
    assert (code, err, out) == (0, line, (conftest.REPLAYS / "pause.out").read_text())
