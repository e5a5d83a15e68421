"""A throw-away desktop for whole-program tray tests.

Everything the program could reach is private to the test: HOME and the XDG folders are
temporary, both D-Bus buses are daemons started here (the "system" one too), the display is
an Xvfb server of its own, and the simulated port module is on LD_LIBRARY_PATH.
"""

import os
import shutil
import subprocess
import tempfile
import time

TOOLS = ("Xvfb", "trayer", "xdotool", "xwininfo", "dbus-daemon")
PANEL = '"panel": ("panel" "trayer")'


def missing_tools():
    return [tool for tool in TOOLS if shutil.which(tool) is None]


def wait_for(predicate, timeout=10.0):
    """Polls predicate until it returns something true; returns that, or None at timeout."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = predicate()
        if result:
            return result
        time.sleep(0.05)
    return None


class Desktop:
    def __init__(self, port_sim_dir):
        self.root = tempfile.mkdtemp(prefix="tarnwick-tray-")
        self.profile = self.path("config", "Tarnwick", "Tarnwick.conf")
        self.processes = []
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("DBUS_", "XDG_", "WAYLAND_", "QT_", "DISPLAY", "XAUTHORITY"))}
        for name in ("home", "config", "data", "cache", "run"):
            os.makedirs(self.path(name), mode=0o700)
        env.update(HOME=self.path("home"), XDG_CONFIG_HOME=self.path("config"),
                   XDG_DATA_HOME=self.path("data"), XDG_CACHE_HOME=self.path("cache"),
                   XDG_RUNTIME_DIR=self.path("run"), QT_QPA_PLATFORM="xcb",
                   LD_LIBRARY_PATH=port_sim_dir)
        # Under LeakSanitizer the suppressions of what libraries leak need whole allocation
        # stacks (Qt is built without frame pointers). Strict string checks stay off for the
        # program on a display: libxkbcommon-x11 hands strndup a name that is not
        # NUL-terminated (bounded, but the strict check reads to a NUL).
        if "ASAN_OPTIONS" in os.environ:
            env["ASAN_OPTIONS"] = (os.environ["ASAN_OPTIONS"] +
                                   ":fast_unwind_on_malloc=0:strict_string_checks=0")
        self.env = env
        try:
            for bus in ("SESSION", "SYSTEM"):
                env["DBUS_%s_BUS_ADDRESS" % bus] = self.daemon(
                    ["dbus-daemon", "--session", "--nofork", "--print-address=%d"])
            env["DISPLAY"] = ":" + self.daemon(["Xvfb", "-displayfd", "%d", "-screen", "0",
                                                "800x600x24", "-nolisten", "tcp", "-noreset"])
        except Exception:
            self.close()
            raise

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def spawn(self, args, **kwargs):
        """Starts a process on this desktop; it ends with the desktop."""
        process = subprocess.Popen(args, env=self.env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kwargs)
        self.processes.append(process)
        return process

    def daemon(self, args):
        """Starts a daemon that writes its address to the descriptor in args; returns that."""
        read_fd, write_fd = os.pipe()
        self.spawn([arg.replace("%d", str(write_fd)) for arg in args], pass_fds=(write_fd,))
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            address = pipe.readline().strip()
        if not address:
            raise RuntimeError(args[0] + " did not start")
        return address

    def run(self, *args):
        return subprocess.run(list(args), env=self.env, capture_output=True, text=True,
                              timeout=30).stdout

    def start_trayer(self):
        self.trayer = self.spawn(
            ["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
             "--height", "32", "--SetDockType", "true", "--transparent", "false"])
        if not wait_for(lambda: PANEL in self.run("xwininfo", "-root", "-tree")):
            raise RuntimeError("trayer did not come up")

    def kill_trayer(self):
        self.trayer.kill()
        self.trayer.wait()

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

    def close(self):
        for process in reversed(self.processes):
            process.terminate()
            process.wait()
        shutil.rmtree(self.root, ignore_errors=True)


class Program:
    """The tarnwick binary running on a Desktop."""

    def __init__(self, desktop, binary):
        self.process = subprocess.Popen([binary], env=desktop.env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                        text=True)

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
