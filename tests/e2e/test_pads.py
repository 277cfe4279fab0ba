"""Both ships flown and fighting with gamepads, replayed from pad events (no pad exists on the test machines).

tests/replays/pads.rec turns the ships to face each other with the sticks, has ship1 fire with its right bumper,
restarts with Start and unplugs and replugs ship1's pad; tests/replays/pads.out is the console it must print
after the help.
Run with `pytest tests/e2e/test_pads.py` from the repository root; VOIDSKIRMISH_BINARY names another binary.
"""

import os
import subprocess
from pathlib import Path

from PIL import Image

ROOT = Path(__file__).resolve().parents[2]
REPLAYS = ROOT / "tests" / "replays"


def warm_pixels(image, half):
    """Orange and red pixels (the enemy's contour, sparks) around the crosshair of the upper (0) or lower half."""
    width, height = image.size
    centre_y = height // 4 + half * height // 2
    box = image.convert("RGB").crop((width // 2 - 80, centre_y - 60, width // 2 + 80, centre_y + 60))
    return sum(1 for r, g, b in box.getdata() if r > 180 and g < 170 and b < 90)


def test_pads_turn_both_ships_to_each_other_and_fire(tmp_path):
    binary = os.environ.get("VOIDSKIRMISH_BINARY", str(ROOT / "build" / "voidskirmish"))
    (tmp_path / "Voidskirmish").symlink_to(ROOT / "Voidskirmish")
    (tmp_path / "screenshots").mkdir()
    run = subprocess.run(["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", binary, "--replay",
                          str(REPLAYS / "pads.rec")], cwd=tmp_path, capture_output=True, text=True, timeout=600)
    assert run.returncode == 0, run.stderr
    assert run.stdout.endswith((REPLAYS / "pads.out").read_text())

    warm = {frame: [warm_pixels(Image.open(tmp_path / f"screenshots/voidskirmish-{frame:06d}.png"), half)
                    for half in (0, 1)] for frame in (1, 12, 16)}
    assert warm[1] == [0, 0], "at the start neither enemy is in sight"
    assert min(warm[12]) > 200, f"after the turns each ship has the other in its crosshair: {warm}"
    assert all(hit > 2 * aimed for hit, aimed in zip(warm[16], warm[12])), f"no sparks at the hit: {warm}"
