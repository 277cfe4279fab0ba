"""Both ships flown and fighting with gamepads, replayed from pad events (no pad exists on the test machines).

tests/replays/pads.rec turns the ships to face each other with the sticks, has ship1 fire with its right bumper,
restarts with Start and unplugs and replugs ship1's pad; tests/replays/pads.out is the console it must print
after the help."""

import conftest
import pictures as p


def warm(shot, half):
    """Orange and red pixels (the enemy's contour, sparks) around the crosshair of the upper (0) or lower half."""
    area = p.region(p.halves(shot)[half], 432, 132, 160, 120)
    return p.count(area, lambda r, g, b: r > 180 and g < 170 and b < 90)


def test_pads_turn_both_ships_to_each_other_and_fire(replay):
    out, err, code, shots = replay("pads")
    assert (code, err) == (0, "")
    assert out.endswith((conftest.REPLAYS / "pads.out").read_text())
    seen = {frame: [warm(shots[frame], half) for half in (0, 1)] for frame in (1, 12, 16)}
    assert seen[1] == [0, 0], "at the start neither enemy is in sight"
    assert min(seen[12]) > 200, f"after the turns each ship has the other in its crosshair: {seen}"
    assert all(hit > 2 * aimed for hit, aimed in zip(seen[16], seen[12])), f"no sparks at the hit: {seen}"
