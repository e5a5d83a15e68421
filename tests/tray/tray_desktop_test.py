"""The whole program on a desktop under Xvfb: with an XEmbed tray (trayer) or with a
StatusNotifierItem host (a watcher on the private session bus, the menu read over dbusmenu).

Usage: tray_desktop_test.py --binary PATH --port-sim DIR XEmbedTray|StatusNotifierTray
"""

import argparse
import configparser
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tray_desktop import Desktop, Program, missing_tools, wait_for  # noqa: E402

ARGS = None
PYTHON = "/usr/bin/python3"  # the interpreter that has the dbus and dbusmock modules


class DesktopTest(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(ARGS.binary, ARGS.port_sim)
        self.addCleanup(self.desktop.close)

    def start(self):
        self.program = Program(self.desktop)
        # Qt warnings on the way are faults of ours (a bad connect, a missing icon), as are
        # sanitizer reports.
        self.addCleanup(lambda: self.assertNotRegex(
            self.program.stop(), "QObject::connect|No Icon set|Sanitizer|runtime error"))

    def settings_window(self):
        return self.desktop.windows("--name", "^Tarnwick Parameters$")


class XEmbedTray(DesktopTest):
    def setUp(self):
        super().setUp()
        self.desktop.start("trayer")
        self.start()
        self.assertTrue(wait_for(self.desktop.docked_icon), "the icon did not dock")

    def menus(self):
        """The program's visible windows as tall as a menu, other than the icon."""
        return [w for w in self.desktop.windows("--class", "tarnwick")
                if w != self.desktop.docked_icon() and self.desktop.geometry(w)["HEIGHT"] > 100]

    def open_menu(self):
        self.desktop.click_icon(3)
        self.assertTrue(wait_for(self.menus, 30), "no menu after a right click")

    def test_right_click_shows_the_menu_and_a_double_click_runs_settings(self):
        self.open_menu()
        self.desktop.key("Escape")
        self.assertTrue(wait_for(lambda: not self.menus(), 30))
        self.desktop.click_icon(1)
        time.sleep(0.7)
        self.assertEqual(self.menus(), [])
        self.assertEqual(self.settings_window(), [])
        self.desktop.click_icon(1, repeat=2)
        self.assertTrue(wait_for(self.settings_window, 30))
        # The tray stays live while the dialog is open.
        shown = set(self.menus())
        self.desktop.click_icon(3)
        self.assertTrue(wait_for(lambda: set(self.menus()) - shown, 30),
                        "no menu while the settings are open")

    def test_exit_ends_the_program_and_saves_the_profile(self):
        self.assertFalse(os.path.exists(self.desktop.profile))
        self.open_menu()
        self.desktop.key("Up", "Return")  # the last item: "Exit Tarnwick"
        self.assertEqual(self.program.wait(), 0)
        ini = configparser.ConfigParser(interpolation=None)
        ini.read(self.desktop.profile)
        self.assertEqual(sorted(ini.sections()), ["General", "LptResetter", "WatchDogging"])
        self.assertEqual(sum(len(ini[section]) for section in ini.sections()), 26)

    def test_the_icon_comes_back_when_the_tray_host_restarts(self):
        self.desktop.stop("trayer")
        self.assertTrue(wait_for(lambda: self.desktop.docked_icon() is None, 30))
        self.desktop.start("trayer")
        self.assertTrue(wait_for(self.desktop.docked_icon), "no icon after the restart")
        self.open_menu()


def labels(node):
    """A dbusmenu layout node as (label, enabled, children), without mnemonic marks."""
    _, props, children = node
    return (str(props.get("label", "")).replace("_", ""), bool(props.get("enabled", True)),
            [labels(child) for child in children])


class StatusNotifierTray(DesktopTest):
    def test_the_menu_names_the_connection_and_activation_runs_settings(self):
        import dbus
        # Not connected and not dialled at start: the default connection is the current entry.
        os.makedirs(os.path.dirname(self.desktop.profile))
        with open(self.desktop.profile, "w") as profile:
            profile.write("[WatchDogging]\nsDefaultConnection=Lab & Modem\n"
                          "bEstablishConnection=0\n")
        bus = dbus.bus.BusConnection(self.desktop.env["DBUS_SESSION_BUS_ADDRESS"])
        self.addCleanup(bus.close)
        watcher = "org.kde.StatusNotifierWatcher"
        self.desktop.spawn([PYTHON, "-m", "dbusmock", watcher, "/StatusNotifierWatcher", watcher])
        self.assertTrue(wait_for(lambda: bus.name_has_owner(watcher)), "no watcher")
        mock = dbus.Interface(bus.get_object(watcher, "/StatusNotifierWatcher"),
                              "org.freedesktop.DBus.Mock")
        mock.AddMethod("", "RegisterStatusNotifierItem", "s", "", "")
        mock.AddProperty("", "IsStatusNotifierHostRegistered", True)
        self.start()
        calls = wait_for(lambda: mock.GetMethodCalls("RegisterStatusNotifierItem"))
        self.assertTrue(calls, "the item did not register")
        item = bus.get_object(str(calls[0][1][0]), "/StatusNotifierItem")
        menu = dbus.Interface(bus.get_object(item.bus_name, item.Get(
            "org.kde.StatusNotifierItem", "Menu", dbus_interface=dbus.PROPERTIES_IFACE)),
            "com.canonical.dbusmenu")
        menu.AboutToShow(0)  # as a host does before it draws the menu
        top = labels(menu.GetLayout(0, -1, [])[1])[2]
        self.assertEqual([label for label, _, _ in top if label],
                         ["Settings", "Reboot/Shutdown...", "Connections...",
                          "Reset modem power", "About Tarnwick...", "Exit Tarnwick"])
        # The name is shown as it is ("&" is no mnemonic); not connected: no disconnect. No
        # NetworkManager on the private system bus: an empty phone book, without "<none>".
        connections = next(children for label, _, children in top if label == "Connections...")
        self.assertEqual(connections, [("Reconnect Lab & Modem", True, []),
                                       ("Disconnect Lab & Modem", False, []),
                                       ("Connect to...", True, [])])
        item.Activate(0, 0, dbus_interface="org.kde.StatusNotifierItem")
        self.assertTrue(wait_for(self.settings_window, 30), "no settings after activation")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--port-sim", required=True)
    ARGS, rest = parser.parse_known_args()
    missing = missing_tools()
    if "StatusNotifierTray" in rest:
        try:
            import dbus, dbusmock  # noqa: F401, E401
        except ImportError:
            missing.append("python3-dbus or python3-dbusmock")
    if missing:
        print("skipped: missing " + ", ".join(missing))
        return 77
    result = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
