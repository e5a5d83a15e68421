"""The whole program on an XEmbed tray (trayer under Xvfb).

Usage: tray_xembed_test.py --binary PATH --port-sim DIR [--shots DIR]
"""

import argparse
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tray_desktop import Desktop, Program, missing_tools, profile_values, wait_for  # noqa: E402

ARGS = None


class XEmbedTray(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(ARGS.port_sim)
        self.addCleanup(self.desktop.close)
        self.program = None

    def tearDown(self):
        if self.program is not None:
            stderr = self.program.stop()
            # Qt warnings on the way are faults of ours (a bad connect, a missing icon).
            self.assertNotIn("QObject::connect", stderr)
            self.assertNotIn("No Icon set", stderr)

    def start(self):
        self.program = Program(self.desktop, ARGS.binary)
        return self.program

    def shot(self, name):
        if ARGS.shots:
            self.desktop.screenshot(os.path.join(ARGS.shots, name))

    def menu_windows(self):
        icon = self.desktop.docked_icon()
        return [w for w in self.desktop.popups("--class", "tarnwick") if w != icon]

    def open_menu(self):
        self.desktop.click_icon(3)
        menus = wait_for(self.menu_windows, 5)
        self.assertTrue(menus, "no menu after a right click")
        return menus

    def test_icon_docks_and_a_right_click_shows_the_menu(self):
        self.desktop.start_trayer()
        program = self.start()
        icon = wait_for(self.desktop.docked_icon, 10, 0.005)
        self.assertIsNotNone(icon, "the icon did not dock")
        print("start to docked icon: %.0f ms" % ((time.monotonic() - program.started) * 1000))
        menus = self.open_menu()
        x, y, width, height = self.desktop.geometry(menus[0])
        # Nine items, three of them separators: a menu, not a stray window.
        self.assertGreater(height, 100)
        self.assertGreater(width, 100)
        self.shot("xembed-menu.png")
        self.desktop.key("Escape")
        self.assertTrue(wait_for(lambda: not self.menu_windows(), 5))

    def test_a_single_click_does_nothing_and_a_double_click_runs_settings(self):
        self.desktop.start_trayer()
        self.start()
        self.assertIsNotNone(wait_for(self.desktop.docked_icon, 10))
        self.desktop.click_icon(1)
        time.sleep(0.7)
        self.assertEqual(self.menu_windows(), [])
        self.desktop.click_icon(1, repeat=2)
        self.assertTrue(wait_for(
            lambda: self.desktop.visible_windows("--name", "^Tarnwick Parameters$"), 5))

    def test_about_box_opens_from_the_menu_and_closes_with_ok(self):
        self.desktop.start_trayer()
        self.start()
        self.assertIsNotNone(wait_for(self.desktop.docked_icon, 10))
        self.open_menu()
        self.desktop.key("a")  # the mnemonic of "&About Tarnwick..."
        about = wait_for(lambda: self.desktop.visible_windows("--name", "^About Tarnwick$"), 5)
        self.assertTrue(about, "no about box")
        self.shot("xembed-about.png")
        # The tray stays live while the box is open; the box stays one.
        self.open_menu()
        self.desktop.key("a")
        time.sleep(0.5)
        self.assertEqual(len(self.desktop.visible_windows("--name", "^About Tarnwick$")), 1)
        self.desktop.key("Return")
        self.assertTrue(wait_for(
            lambda: not self.desktop.visible_windows("--name", "^About Tarnwick$"), 5))
        self.assertIsNone(self.program.process.poll())

    def test_exit_ends_the_program_and_saves_the_profile(self):
        self.desktop.start_trayer()
        program = self.start()
        self.assertIsNotNone(wait_for(self.desktop.docked_icon, 10))
        self.assertFalse(os.path.exists(program.profile()))
        self.open_menu()
        self.desktop.key("Up", "Return")  # the last item: "Exit Tarnwick"
        self.assertEqual(program.wait(10), 0)
        values = profile_values(program.profile())
        self.assertEqual(sorted(values), ["General", "LptResetter", "WatchDogging"])
        self.assertEqual(sum(len(v) for v in values.values()), 25)

    def test_the_icon_comes_back_when_the_tray_host_restarts(self):
        self.desktop.start_trayer()
        self.start()
        self.assertIsNotNone(wait_for(self.desktop.docked_icon, 10))
        self.desktop.kill_trayer()
        self.assertTrue(wait_for(lambda: self.desktop.docked_icon() is None, 5))
        self.desktop.start_trayer()
        self.assertIsNotNone(wait_for(self.desktop.docked_icon, 10), "no icon after restart")
        self.assertIsNone(self.program.process.poll())
        self.open_menu()
        self.desktop.key("Escape")

    def test_a_tray_that_appears_later_gets_the_icon(self):
        self.start()
        time.sleep(1.0)
        self.assertIsNone(self.program.process.poll())
        self.desktop.start_trayer()
        # The refused icon is retried every 5 s.
        self.assertIsNotNone(wait_for(self.desktop.docked_icon, 8), "no icon in the late tray")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--port-sim", required=True)
    parser.add_argument("--shots")
    ARGS, rest = parser.parse_known_args()
    missing = missing_tools()
    if missing:
        print("skipped: missing " + ", ".join(missing))
        return 77
    result = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
