"""A throw-away desktop for whole-program tray tests.

Everything the program could reach is private to the test: HOME and the XDG folders are
temporary, both D-Bus buses are daemons started here (the "system" one too), the display is
an Xvfb server of its own, and the simulated port module is on LD_LIBRARY_PATH.
"""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

TOOLS = ("Xvfb", "trayer", "xdotool", "xwininfo", "dbus-daemon", "import")


def missing_tools():
    return [tool for tool in TOOLS if shutil.which(tool) is None]


def wait_for(predicate, timeout=10.0, interval=0.05):
    """Polls predicate until it returns something true; returns that, or None at timeout."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


class Desktop:
    def __init__(self, port_sim_dir=None):
        self.root = tempfile.mkdtemp(prefix="tarnwick-tray-")
        self.processes = []
        self.trayer = None
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("DBUS_", "XDG_", "WAYLAND_", "QT_", "DISPLAY", "XAUTHORITY"))}
        for name in ("home", "config", "data", "cache", "run"):
            os.makedirs(os.path.join(self.root, name), mode=0o700)
        env.update(HOME=self.path("home"), XDG_CONFIG_HOME=self.path("config"),
                   XDG_DATA_HOME=self.path("data"), XDG_CACHE_HOME=self.path("cache"),
                   XDG_RUNTIME_DIR=self.path("run"), QT_QPA_PLATFORM="xcb")
        if port_sim_dir:
            env["LD_LIBRARY_PATH"] = port_sim_dir
        # Under LeakSanitizer the suppressions of what libraries leak need whole allocation
        # stacks (Qt is built without frame pointers). Strict string checks stay off for the
        # program on a display: libxkbcommon-x11 hands strndup a name that is not
        # NUL-terminated (bounded, but the strict check reads to a NUL).
        if "ASAN_OPTIONS" in os.environ:
            env["ASAN_OPTIONS"] = (os.environ["ASAN_OPTIONS"] +
                                   ":fast_unwind_on_malloc=0:strict_string_checks=0")
        self.env = env
        try:
            env["DBUS_SESSION_BUS_ADDRESS"] = self._start_bus()
            env["DBUS_SYSTEM_BUS_ADDRESS"] = self._start_bus()
            env["DISPLAY"] = self._start_xvfb()
        except Exception:
            self.close()
            raise

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def _start_bus(self):
        process = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            env=self.env, text=True)
        self.processes.append(process)
        return process.stdout.readline().strip()

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "800x600x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, env=self.env)
        os.close(write_fd)
        self.processes.append(process)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        return ":" + number

    def run(self, *args, check=True):
        return subprocess.run(list(args), env=self.env, capture_output=True, text=True,
                              check=check, timeout=30).stdout

    # The tray host.
    def start_trayer(self):
        self.trayer = subprocess.Popen(
            ["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
             "--height", "32", "--SetDockType", "true", "--transparent", "false"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            env=self.env)
        if not wait_for(lambda: '"panel": ("panel" "trayer")' in self.tree()):
            raise RuntimeError("trayer did not come up")

    def kill_trayer(self):
        if self.trayer is not None:
            self.trayer.kill()
            self.trayer.wait()
            self.trayer = None

    # Windows.
    def tree(self):
        return self.run("xwininfo", "-root", "-tree", check=False)

    def visible_windows(self, *search):
        out = self.run("xdotool", "search", "--onlyvisible", *search, check=False)
        return [int(line) for line in out.split()]

    def popups(self, *search):
        """Visible override-redirect windows (menus, tooltips) among those found."""
        return [w for w in self.visible_windows(*search)
                if "Override Redirect State: yes" in self.run("xwininfo", "-id", str(w),
                                                               check=False)]

    def geometry(self, window):
        out = self.run("xwininfo", "-id", str(window))
        values = {}
        for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
            values[key] = int(re.search(key + r":\s+(-?\d+)", out).group(1))
        return (values["Absolute upper-left X"], values["Absolute upper-left Y"],
                values["Width"], values["Height"])

    def docked_icon(self):
        """The program's window inside the tray panel, or None."""
        depth_of_panel = None
        for line in self.tree().splitlines():
            depth = len(line) - len(line.lstrip())
            if '"panel": ("panel" "trayer")' in line:
                depth_of_panel = depth
                continue
            if depth_of_panel is not None and depth <= depth_of_panel:
                depth_of_panel = None
            if depth_of_panel is not None and '"tarnwick"' in line.lower():
                window = int(line.split()[0], 16)
                if "IsViewable" in self.run("xwininfo", "-id", str(window), check=False):
                    return window
        return None

    def click(self, x, y, button, repeat=1):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y))
        self.run("xdotool", "click", "--repeat", str(repeat), "--delay", "80", str(button))

    def click_icon(self, button, repeat=1):
        icon = self.docked_icon()
        x, y, w, h = self.geometry(icon)
        self.click(x + w // 2, y + h // 2, button, repeat)

    def key(self, *keys):
        self.run("xdotool", "key", "--delay", "60", *keys)

    def screenshot(self, path):
        self.run("import", "-window", "root", path)

    def close(self):
        self.kill_trayer()
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
            if process.stdout:
                process.stdout.close()
        shutil.rmtree(self.root, ignore_errors=True)


class Program:
    """The tarnwick binary running on a Desktop."""

    def __init__(self, desktop, binary):
        self.desktop = desktop
        self.started = time.monotonic()
        self.process = subprocess.Popen([binary], env=desktop.env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                        text=True)

    def profile(self):
        return self.desktop.path("config", "Tarnwick", "Tarnwick.conf")

    def wait(self, timeout=10):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def status(self):
        """VmRSS and VmHWM in kB, and the voluntary context switches of all threads."""
        pid = self.process.pid
        values = {}
        with open("/proc/%d/status" % pid) as status:
            for line in status:
                key, _, value = line.partition(":")
                if key in ("VmRSS", "VmHWM"):
                    values[key] = int(value.split()[0])
        switches = 0
        for task in os.listdir("/proc/%d/task" % pid):
            try:
                with open("/proc/%d/task/%s/status" % (pid, task)) as status:
                    for line in status:
                        if line.startswith("voluntary_ctxt_switches"):
                            switches += int(line.split()[1])
            except FileNotFoundError:
                pass
        values["voluntary_ctxt_switches"] = switches
        return values

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            if self.wait(10) is None:
                self.process.kill()
                self.process.wait()
        stderr = self.process.stderr.read()
        self.process.stderr.close()
        return stderr


def profile_values(path):
    """The name=value lines of an INI file, by section."""
    sections = {}
    current = None
    with open(path) as ini:
        for line in ini:
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], {})
            elif "=" in line and current is not None:
                key, _, value = line.partition("=")
                current[key] = value
    return sections
