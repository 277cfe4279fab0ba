"""A laser duel on the real binary: the beam, hits with their sparks, game over with the score, restart with
ENTER, and a pause.

One game runs it all. Bloom is switched off first: frames then come about three times faster under llvmpipe,
so the half-second beam is seen over several frames. At the start ship2 stands 20 units right of ship1; the
nearest asteroid sphere is 170 units from that line of fire (the field is the same on every run), so
nothing shields ship2 once ship1 has turned a quarter right.
"""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
import views  # noqa: E402
from harness import Game  # noqa: E402

RULE = "-" * 65
GAME_OVER_LOWER = (f"\n{RULE}\nPlayer of lower window died => Game is over!\n"
                   f"Please Restart with ENTER or exit the game with ESC\n{RULE}\n")


def decrease(before, after):
    return f"Enemy life points decreased from {before} to {after}\n"


class CombatTest(unittest.TestCase):
    def test_duel_until_game_over_then_restart(self):
        with Game(stdin="n\n") as game:
            game.wait_for_window()
            start = game.wait_for_picture(lambda image: not views.space_problems(views.halves(image)[0]),
                                          name="combat-start")
            for name, half in zip(("upper", "lower"), views.halves(start)):
                self.assertEqual(views.space_problems(half), [], name)

            game.key("1")
            game.wait_for_output(r"Bloom off\n")
            self.check_beam_appears_and_fades(game)

            game.key("p")
            views.quarter_turn(game, right=True)
            aimed = game.wait_for_still_picture(name="combat-aimed")
            game.key("F10")
            game.wait_for_output(r"Life points changes on\n")
            self.fire_until_game_over(game, self.check_hits_throw_sparks(game, aimed))
            self.check_score_shown(game, start)

            game.key("Return")
            game.key("space")
            game.wait_for_output(f"(?s)({decrease(10, 9)}.*){{2}}", timeout=30)
            self.assertEqual(game.stdout.count(decrease(10, 9)), 2)
            self.check_pause(game)
            self.assertEqual(game.quit_with_escape(), 0, game.stdout + game.stderr)

    @staticmethod
    def below_crosshair(image):
        """The strip of the upper half between its crosshair and its bottom, where ship1's beam runs."""
        upper, _ = views.halves(image)
        return upper.crop(upper.width // 2 - 40, upper.height // 2 + 10, 80, upper.height // 2 - 10)

    def check_beam_appears_and_fades(self, game):
        """The shot's beam runs from the bottom centre of the upper half to its crosshair, and it fades.

        The beam ages by the whole frame it was fired in, so a frame of half a second or more (a load peak)
        leaves nothing to see: up to three shots are tried (they hit nothing)."""
        tries = []
        for _ in range(3):
            before = self.below_crosshair(game.screenshot("combat-before-beam"))
            game.key("space")
            shots = game.screenshot_burst(2.5)
            beams = [views.red_gain(before, self.below_crosshair(shot)) for shot in shots]
            seen = [index for index, (pixels, _) in enumerate(beams) if pixels >= 100]
            if seen:
                break
            tries.append(beams)
        self.assertTrue(seen, f"no red beam below the crosshair after SPACE: {tries}")
        shots[seen[0]].save_png(os.path.join(harness.screenshot_dir(), "combat-beam.png"))
        shots[-1].save_png(os.path.join(harness.screenshot_dir(), "combat-beam-gone.png"))
        # Later frames show it dimmer (a screenshot may catch the same frame twice), then not at all.
        strengths = [beams[index][1] for index in seen]
        self.assertEqual(strengths, sorted(strengths, reverse=True), f"the beam grew brighter: {beams}")
        self.assertLess(beams[-1][0], 20, f"the beam is still there {seen} after 2.5 s: {beams}")

    def check_hits_throw_sparks(self, game, aimed):
        """The hit point lies about 30 pixels below ship1's crosshair, on ship2; each hit's fire sparks burst
        around it for a moment. They are counted down to 50 pixels below the crosshair, clear of the beam, which
        ends some 90 pixels below it (2 units under the line of fire). Particles age by the whole frame they
        were thrown in, so after a load peak they are already dim: up to three hits are looked at.
        Returns ship2's life points left."""
        def around_hit(image):
            upper, _ = views.halves(image)
            return upper.crop(upper.width // 2 - 150, upper.height // 2 - 60, 300, 110)
        life, tries = 10, []
        while life > 7:
            game.key("space")
            game.wait_for_output(decrease(life, life - 1), timeout=30)
            life -= 1
            shots = game.screenshot_burst(2)
            sparks = [views.appeared(around_hit(aimed), around_hit(shot), views.is_spark) for shot in shots]
            best = max(range(len(shots)), key=sparks.__getitem__)
            tries.append(sparks)
            if sparks[best] >= 150:
                shots[best].save_png(os.path.join(harness.screenshot_dir(), "combat-sparks.png"))
                return life
        self.fail(f"no sparks around the hit point; new spark pixels per screenshot after each hit: {tries}")

    def fire_until_game_over(self, game, life):
        for points in range(life, 0, -1):
            game.key("space")
            game.wait_for_output(decrease(points, points - 1), timeout=30)
        game.wait_for_output(RULE + r"\nScore: .*\n", timeout=30)
        # From F10 on: one line per hit, the tenth leaving exactly 0 (no "Player died" line), the block, the score.
        expected = ("Life points changes on\n" + "".join(decrease(points, points - 1) for points in range(10, 0, -1))
                    + GAME_OVER_LOWER + "Score: upper 1, lower 0\n")
        self.assertEqual(game.stdout[game.stdout.index("Life points changes on\n"):], expected)

    def check_score_shown(self, game, start):
        """Each half's score at its top centre turns from 0 - 0 to 1 - 0 (upper: own green) and 0 - 1 (lower: enemy
        red): a 1 lights two segments where the 0 lit six. The frame that ends the round still shows the old one."""
        def lit(image):
            boxes = (half.crop(half.width // 2 - 60, 10, 120, 40) for half in views.halves(image))
            return [box.count(colour) for box, colour in
                    zip(boxes, (views.is_hud_green, lambda rgb: rgb[0] > 180 and max(rgb[1:]) < 80))]
        before = lit(start)
        game.wait_for_picture(lambda image: all(0 < new < 0.6 * old for old, new in zip(before, lit(image))),
                              timeout=30, name="combat-score")

    def check_pause(self, game):
        """BACKSPACE freezes the picture under a white PAUSED in both halves, though keys are held and toggles
        still work; PAUSE resumes it."""
        def marks(image):
            boxes = (half.crop(half.width // 2 - 100, half.height * 3 // 10 - 25, 200, 50)
                     for half in views.halves(image))
            return [box.count(lambda rgb: min(rgb) >= 225 and max(rgb) - min(rgb) <= 6) for box in boxes]
        game.key("BackSpace")
        game.wait_for_output(r"Game paused\n")
        paused = game.wait_for_still_picture(threshold=0.0005, name="combat-paused")
        self.assertTrue(all(count >= 1500 for count in marks(paused)), marks(paused))
        game.hold("w", 2)
        game.key("space")
        self.assertLess(game.screenshot("combat-paused-keys").changed_fraction(paused), 0.0005)
        game.key("F3")
        game.wait_for_output(r"Wireframe on\n")
        wireframe = game.wait_for_picture(lambda image: image.changed_fraction(paused) > 0.05, name="combat-paused-f3")
        self.assertTrue(all(count >= 1500 for count in marks(wireframe)), marks(wireframe))
        game.key("Pause")
        game.wait_for_output(r"Game resumed\n")
        game.wait_for_picture(lambda image: max(marks(image)) < 300, name="combat-resumed")
        self.assertEqual(game.stdout.count(decrease(10, 9)), 2)  # the shot while paused did nothing


if __name__ == "__main__":
    harness.main()
