"""The whole program with a StatusNotifierItem host (a watcher on the private session bus).

The menu is read and used over D-Bus (com.canonical.dbusmenu), as a panel would.
Usage: tray_sni_test.py --binary PATH --port-sim DIR
"""

import argparse
import os
import select
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tray_desktop import Desktop, Program, missing_tools, profile_values, wait_for  # noqa: E402

ARGS = None
HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON = "/usr/bin/python3"  # the interpreter that has the dbus module


def dbus_module():
    try:
        import dbus  # noqa: F401
        return True
    except ImportError:
        return False


def labels(node):
    """(label, enabled, children) of a dbusmenu layout node, mnemonics removed."""
    _, props, children = node
    label = str(props.get("label", "")).replace("_", "")
    enabled = bool(props.get("enabled", True))
    return label, enabled, [labels(child) for child in children]


def find(node, label):
    item_id, props, children = node
    if str(props.get("label", "")).replace("_", "") == label:
        return node
    for child in children:
        found = find(child, label)
        if found is not None:
            return found
    return None


class StatusNotifierTray(unittest.TestCase):
    def setUp(self):
        import dbus
        self.dbus = dbus
        self.desktop = Desktop(ARGS.port_sim)
        self.addCleanup(self.desktop.close)
        self.bus = dbus.bus.BusConnection(self.desktop.env["DBUS_SESSION_BUS_ADDRESS"])
        self.addCleanup(self.bus.close)
        self.watcher = None
        self.items = []
        self.start_watcher()
        self.program = Program(self.desktop, ARGS.binary)

    def tearDown(self):
        self.program.stop()
        self.stop_watcher()

    def start_watcher(self):
        self.watcher = subprocess.Popen([PYTHON, os.path.join(HERE, "sni_watcher.py")],
                                        env=self.desktop.env, stdout=subprocess.PIPE,
                                        stdin=subprocess.DEVNULL, text=True)
        self.assertEqual(self.read_watcher(), "ready")

    def stop_watcher(self):
        if self.watcher is not None:
            self.watcher.kill()
            self.watcher.wait()
            self.watcher.stdout.close()
            self.watcher = None

    def read_watcher(self, timeout=15):
        """The watcher's next line; fails the test rather than waiting for ever."""
        ready, _, _ = select.select([self.watcher.stdout], [], [], timeout)
        self.assertTrue(ready, "the watcher said nothing in %d s" % timeout)
        return self.watcher.stdout.readline().strip()

    def wait_for_item(self):
        line = self.read_watcher().split()
        self.assertEqual(line[0], "item")
        return line[1]

    def menu(self, service):
        item = self.bus.get_object(service, "/StatusNotifierItem")
        path = item.Get("org.kde.StatusNotifierItem", "Menu",
                        dbus_interface="org.freedesktop.DBus.Properties")
        return self.dbus.Interface(self.bus.get_object(service, path),
                                   "com.canonical.dbusmenu")

    def layout(self, menu):
        # A host asks the menu to get ready before it draws it.
        menu.AboutToShow(0)
        _, root = menu.GetLayout(0, -1, [])
        return root

    def click(self, menu, node):
        menu.Event(node[0], "clicked", self.dbus.String("", variant_level=1), 0)

    def test_the_menu_is_built_afresh_before_the_host_draws_it(self):
        service = self.wait_for_item()
        root = self.layout(self.menu(service))
        top = labels(root)[2]
        self.assertEqual([label for label, _, _ in top if label],
                         ["Settings", "Reboot/Shutdown...", "Connections...",
                          "Reset modem power", "About Tarnwick...", "Exit Tarnwick"])
        connections = labels(find(root, "Connections..."))[2]
        # No connection and no default one: the items keep their word and are greyed.
        self.assertEqual(connections[0][:2], ("Reconnect current", False))
        self.assertEqual(connections[1][:2], ("Disconnect current", False))
        self.assertEqual(connections[2][0], "Connect to...")
        self.assertEqual(connections[2][2], [])  # an empty phone book: no "<none>"

    def test_exit_from_the_hosts_menu_ends_the_program_and_saves_the_profile(self):
        service = self.wait_for_item()
        menu = self.menu(service)
        self.click(menu, find(self.layout(menu), "Exit Tarnwick"))
        self.assertEqual(self.program.wait(10), 0)
        values = profile_values(self.program.profile())
        self.assertEqual(sum(len(v) for v in values.values()), 25)

    def test_the_item_registers_again_when_the_host_restarts(self):
        self.wait_for_item()
        self.stop_watcher()
        time.sleep(0.3)
        self.start_watcher()
        service = self.wait_for_item()
        self.assertIsNone(self.program.process.poll())
        self.assertTrue(labels(self.layout(self.menu(service)))[2])

    def test_the_primary_activation_runs_settings(self):
        service = self.wait_for_item()
        item = self.bus.get_object(service, "/StatusNotifierItem")
        item.Activate(0, 0, dbus_interface="org.kde.StatusNotifierItem")
        self.assertTrue(wait_for(
            lambda: self.desktop.visible_windows("--name", "^Tarnwick Parameters$"), 5))

    def test_reconnect_names_the_default_connection_before_it_is_up(self):
        self.wait_for_item()
        self.program.stop()
        self.read_watcher_until_quiet()
        with open(self.program.profile(), "w") as profile:
            profile.write("[WatchDogging]\nsDefaultConnection=Lab & Modem\n"
                          "bEstablishConnection=0\n")
        self.program = Program(self.desktop, ARGS.binary)
        service = self.wait_for_item()
        connections = labels(find(self.layout(self.menu(service)), "Connections..."))[2]
        # The name is shown as it is ("&" is no mnemonic); not connected: no disconnect.
        self.assertEqual(connections[0][:2], ("Reconnect Lab & Modem", True))
        self.assertEqual(connections[1][:2], ("Disconnect Lab & Modem", False))

    def read_watcher_until_quiet(self):
        while select.select([self.watcher.stdout], [], [], 0.2)[0]:
            if not self.watcher.stdout.readline():
                break

    def test_reconnect_names_the_active_connection(self):
        # Started after the program so that it adopts nothing at start-up; the menu asks
        # the connection manager afresh each time it opens.
        self.start_networkmanager_with_active_connection("Lab & Modem")
        service = self.wait_for_item()
        menu = self.menu(service)

        def named():
            items = labels(find(self.layout(menu), "Connections..."))[2]
            return items if items[0][0] != "Reconnect current" else None

        connections = wait_for(named, 10) or labels(find(self.layout(menu), "Connections..."))[2]
        self.assertEqual(connections[0][:2], ("Reconnect Lab & Modem", True))
        self.assertEqual(connections[1][:2], ("Disconnect Lab & Modem", True))

    def start_networkmanager_with_active_connection(self, name):
        env = self.desktop.env
        nm = subprocess.Popen([PYTHON, "-m", "dbusmock", "--template", "networkmanager"],
                              env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (nm.kill(), nm.wait()))
        system = self.dbus.bus.BusConnection(env["DBUS_SYSTEM_BUS_ADDRESS"])
        self.addCleanup(system.close)
        self.assertTrue(wait_for(
            lambda: system.name_has_owner("org.freedesktop.NetworkManager"), 10))
        mock = self.dbus.Interface(
            system.get_object("org.freedesktop.NetworkManager", "/org/freedesktop"),
            "org.freedesktop.DBus.Mock")
        device = mock.AddEthernetDevice("mock_Ethernet1", "eth0", 100)
        settings = self.dbus.Interface(
            system.get_object("org.freedesktop.NetworkManager",
                              "/org/freedesktop/NetworkManager/Settings"),
            "org.freedesktop.NetworkManager.Settings")
        connection = settings.AddConnection(self.dbus.Dictionary({
            "connection": self.dbus.Dictionary({
                "id": name, "uuid": "5b1e6ee2-1f53-4a2e-9d9e-2a7c1b2f7b11",
                "type": "802-3-ethernet"}, signature="sv")}, signature="sa{sv}"))
        manager = self.dbus.Interface(
            system.get_object("org.freedesktop.NetworkManager",
                              "/org/freedesktop/NetworkManager"),
            "org.freedesktop.NetworkManager")
        manager.ActivateConnection(connection, device, "/")


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--port-sim", required=True)
    ARGS, rest = parser.parse_known_args()
    missing = missing_tools()
    if missing or not dbus_module():
        print("skipped: missing " + (", ".join(missing) or "python3-dbus"))
        return 77
    result = unittest.main(argv=[sys.argv[0]] + rest, exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
