"""A throw-away desktop for whole-program tray tests: the shared sandbox (scripts/sandbox.py)
with a display of its own (Xvfb) and, on request, a tray host (trayer)."""

import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../scripts"))
from sandbox import PANEL, Sandbox, wait_for  # noqa: E402, F401

TOOLS = ("Xvfb", "trayer", "xdotool", "xwininfo", "dbus-daemon")


def missing_tools():
    return [tool for tool in TOOLS if shutil.which(tool) is None]


class Desktop(Sandbox):
    def __init__(self, binary, port_sim):
        super().__init__(binary, port_sim, display=True)
        self.profile = self.path("config", "Tarnwick", "Tarnwick.conf")
        # Under LeakSanitizer the suppressions of what libraries leak need whole allocation
        # stacks (Qt is built without frame pointers). Strict string checks stay off for the
        # program on a display: libxkbcommon-x11 hands strndup a name that is not
        # NUL-terminated (bounded, but the strict check reads to a NUL).
        if "ASAN_OPTIONS" in os.environ:
            self.env["ASAN_OPTIONS"] = (os.environ["ASAN_OPTIONS"] +
                                        ":fast_unwind_on_malloc=0:strict_string_checks=0")

    def windows(self, *search):
        return [int(w) for w in self.run("xdotool", "search", "--onlyvisible", *search).split()]

    def docked_icon(self):
        """The program's viewable window inside the tray panel, or None."""
        panel_depth = None
        for line in self.run("xwininfo", "-root", "-tree").splitlines():
            depth = len(line) - len(line.lstrip())
            if panel_depth is not None and depth <= panel_depth:
                panel_depth = None
            if PANEL in line:
                panel_depth = depth
            elif panel_depth is not None and '"tarnwick"' in line.lower():
                window = int(line.split()[0], 16)
                if window in self.windows("--class", "tarnwick"):
                    return window
        return None

    def geometry(self, window):
        """X, Y, WIDTH and HEIGHT of a window."""
        out = self.run("xdotool", "getwindowgeometry", "--shell", str(window))
        return {k: int(v) for k, v in (line.split("=") for line in out.split())}

    def click_icon(self, button, repeat=1):
        g = self.geometry(self.docked_icon())
        self.run("xdotool", "mousemove", str(g["X"] + g["WIDTH"] // 2),
                 str(g["Y"] + g["HEIGHT"] // 2), "click", "--repeat", str(repeat), "--delay",
                 "80", str(button))

    def key(self, *keys):
        self.run("xdotool", "key", "--delay", "60", *keys)


class Program:
    """The program's copy running on a Desktop."""

    def __init__(self, desktop):
        self.process = desktop.spawn([desktop.program], stderr=subprocess.PIPE, text=True)

    def wait(self, timeout=10):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        """Ends the program if it still runs; returns what it wrote to stderr."""
        if self.process.poll() is None:
            self.process.terminate()
            if self.wait() is None:
                self.process.kill()
        return self.process.communicate()[1]
