"""Recorded matches (tests/replays/NAME.rec) played back by the real game: every recording's whole console output
against NAME.out, byte for byte, and the F12 pictures at the frames some recordings name (regions found on them).
Each recording is played once; its output check and its picture checks share the run."""

import re
import subprocess

import pytest

import conftest
import harness
import pictures as p


@pytest.mark.parametrize("name", sorted(path.stem for path in conftest.REPLAYS.glob("*.rec")))
def test_recording_replays_to_its_console_byte_for_byte(replay, name):
    out, err, code, _ = replay(name)
    assert (code, err) == (0, "")
    assert out == (conftest.REPLAYS / f"{name}.out").read_bytes().decode("utf-8", "surrogateescape")


@pytest.mark.parametrize("name", sorted(path.stem for path in conftest.REPLAYS.glob("*.rec")))
def test_recording_replays_headless_and_passes_the_sync_test(name, tmp_path):
    """Without a window: the windowed console less its screenshot lines, no picture, and the same again when
    every frame is re-run after 1 and after 8 frames from a restored save."""
    folder = conftest.game_folder(tmp_path)
    windowed = (conftest.REPLAYS / f"{name}.out").read_text()
    expected = re.sub(r"^Screenshot saved to .*\n", "", windowed, flags=re.M)
    for extra, passed in ([], ""), *((["--sync-test", n], f"Sync test passed: {played_frames(windowed)} frames, "
                                                          f"each re-run after {n} frames\n") for n in ("1", "8")):
        run = subprocess.run([harness.binary, "--replay", conftest.REPLAYS / f"{name}.rec", "--headless", *extra],
                             cwd=folder, capture_output=True, text=True, timeout=120, env={"PATH": "/usr/bin:/bin"})
        assert (run.returncode, run.stderr, run.stdout) == (0, "", expected + passed), extra
    assert not (folder / "screenshots").exists()  # and no display was there to open


def played_frames(console):
    return re.search(r"Replay finished after (\d+) frames", console).group(1)


def played(replay, name):
    """The recording's pictures and their upper halves."""
    shots = replay(name)[3]
    return shots, {frame: p.halves(shot)[0] for frame, shot in shots.items()}


def assert_space(shots, *frames, asteroids=True):
    for frame in frames:
        assert [p.space_problems(half, asteroids) for half in p.halves(shots[frame])] == [[], []], frame


def test_duel_beam_sparks_contours_game_over_and_restart(replay):
    shots, up = played(replay, "duel")
    assert_space(shots, *shots)
    assert p.changed(*p.halves(shots[1])) > 0.01  # the two cameras stand 20 units apart
    glow = [p.brightness(p.region(up[frame], 570, 115, 50, 50)) for frame in (1, 2)]  # around a bright star
    assert glow[1] < glow[0] - 5, f"bloom off keeps the glow: {glow}"

    # The beam runs from the bottom of the upper half to its crosshair, dims, and is gone after half a second.
    def below_crosshair(frame):
        return p.region(up[frame], 472, 202, 80, 182)
    beams = [p.red_gain(below_crosshair(2), below_crosshair(frame)) for frame in (3, 4, 7)]
    assert beams[0][0] >= 100 and beams[1][1] < beams[0][1] and beams[2][0] < 20, beams

    # Facing ship2 after the mouse turn: its outline only with contours on.
    outlines = [p.count(p.region(up[frame], 412, 177, 200, 90), p.outline) for frame in (12, 13)]
    assert outlines[0] >= 150 and outlines[1] <= outlines[0] // 10, outlines

    # Sparks burst at the hit (frame 14), none with particles off (15), whose beam is opaque without blending.
    sparks = [p.appeared(p.region(up[12], 362, 132, 300, 110), p.region(up[frame], 362, 132, 300, 110), p.spark)
              for frame in (14, 15)]
    assert sparks[0] >= 150 and sparks[1] <= 10, sparks
    beams = [p.red_gain(p.region(up[12], 498, 290, 28, 60), p.region(up[frame], 498, 290, 28, 60))
             for frame in (14, 15)]
    assert beams[0][0] >= 100 and beams[1][1] > 1.2 * beams[0][1], beams


def test_half_resolution_scene_under_a_sharp_hud_with_the_fast_bloom(replay):
    full = replay("duel")[3]
    out, err, code, scaled = replay("duel", "--render-scale", "0.5", "--bloom", "fast")
    assert (code, err, out) == (0, "", replay("duel")[0])
    assert_space(scaled, 1, 2, 12)
    for frame in (1, 2):
        for before, after in zip(p.halves(full[frame]), p.halves(scaled[frame])):
            # The HUD is drawn in the window's own pixels, over the scene: its green covers exactly what it covers
            # at full size (as long as no contour is added onto it there).
            assert [p.hud_green(*rgb) for rgb in before.getdata()] == [p.hud_green(*rgb) for rgb in after.getdata()]
            assert p.ripple(after) < 0.7 * p.ripple(before), "the scene keeps its full-resolution detail"
    # The fast bloom's glow around a bright star, gone with bloom off (frame 2), about as strong as the full one's.
    glows = [p.brightness(p.region(p.halves(shots[frame])[0], 570, 115, 50, 50)) for shots in (full, scaled)
             for frame in (1, 2)]
    assert 0.7 < (glows[2] - glows[3]) / (glows[0] - glows[1]) < 1.4, glows


def test_toggle_lines_frame_time_culling_help_and_effects(replay):
    shots, up = played(replay, "toggles")
    assert_space(shots, 1, 8, 9, 10, 13)

    def sky(frame):
        return p.region(up[frame], 60, 130, 160, 100)
    # Cel shading off (8) takes the dark bands off the asteroids and the rings off the sky; on again (9) as before.
    bands = [p.ink(up[frame]) for frame in (1, 8, 9)]
    assert bands[1] < 0.3 * min(bands[0], bands[2]), bands
    assert p.difference(sky(1), sky(8)) > 2 and p.difference(sky(1), sky(9)) < 0.5
    # Normal mapping off (10) flattens the craters and with them much of their ink; the sky has no normal map.
    assert p.ink(up[10]) < 0.8 * bands[0] and p.difference(sky(1), sky(10)) < 0.5
    # The wire frame (12) leaves the sky box as a few edges over the clear colour, the HUD as it was.
    greys = [p.share(sky(frame), p.clear_grey) for frame in (1, 12, 13)]
    assert greys[1] > 0.9 and max(greys[0], greys[2]) < 0.2, greys
    assert p.crosshairs(shots[12])


def test_thrust_resize_and_the_loss_outside_the_arena(replay):
    shots = replay("flight")[3]
    assert_space(shots, 1, 4, 10, 13)
    halves = {frame: p.halves(shots[frame]) for frame in (1, 4, 10, 13, 14, 31)}
    # W (frames 2-4) moves ship1's view only, UP (11-13) ship2's; spinning asteroids change a still view a little.
    moved = [p.changed(halves[before][half], halves[after][half]) for before, after in ((1, 4), (10, 13))
             for half in (0, 1)]
    assert moved[0] > 0.04 and moved[1] < 0.025 and moved[2] < 0.025 and moved[3] > 0.04, moved

    # In the frame of the resize the picture has the new size, a half above the other, each drawn out to the edge.
    assert shots[14].size == (1200, 700)
    assert [p.space_problems(half, asteroids=False) for half in halves[14]] == [[], []]
    beyond = p.region(shots[14], 1024, 0, 176, 700)  # where the old window ended
    assert p.share(beyond, lambda *rgb: p.star(*rgb) or p.rock(*rgb)) > 0.01

    # Outside the arena (frames 29-31) both life bars turn to the warning red.
    def bar(frame, half):
        return p.region(halves[frame][half], 550, 312, 100, 6)
    assert min(p.share(bar(14, half), p.hud_green) for half in (0, 1)) > 0.95
    assert min(p.share(bar(31, half), p.life_red) for half in (0, 1)) > 0.95


def test_pause_freezes_the_match_under_its_mark_and_resumes(replay):
    shots = replay("pause")[3]
    assert_space(shots, 1, 3, 4, 10)
    # Paused (4-6): ship1 stops in mid-thrust and the shot fired meanwhile leaves no beam, whatever the deltas.
    assert shots[4].tobytes() == shots[6].tobytes()

    def marks(frame):  # the paused mark's even white, in both halves
        return [p.count(p.region(half, 412, 90, 200, 50), lambda *rgb: min(rgb) >= 225 and max(rgb) - min(rgb) <= 6)
                for half in p.halves(shots[frame])]
    assert min(marks(4) + marks(7)) >= 1500 and max(marks(1) + marks(10)) < 300
    assert p.changed(shots[6], shots[7]) > 0.05  # the wire frame still toggles
    assert p.changed(shots[3], shots[10]) > 0.005  # resumed: the match moves again


def test_pads_turn_both_ships_to_each_other_and_fire(replay):
    def warm(shot, half):  # orange and red (the enemy's contour, sparks) around the crosshair of a half
        area = p.region(p.halves(shot)[half], 432, 132, 160, 120)
        return p.count(area, lambda r, g, b: r > 180 and g < 170 and b < 90)
    shots = replay("pads")[3]
    seen = {frame: [warm(shots[frame], half) for half in (0, 1)] for frame in (1, 12, 16)}
    assert seen[1] == [0, 0], "at the start neither enemy is in sight"
    assert min(seen[12]) > 200, f"after the turns each ship has the other in its crosshair: {seen}"
    assert all(hit > 2 * aimed for hit, aimed in zip(seen[16], seen[12])), f"no sparks at the hit: {seen}"
