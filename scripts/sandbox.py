#!/usr/bin/python3
"""A private world for running Tarnwick without touching anything real.

HOME and the XDG folders are temporary, one private dbus-daemon serves as both the session
and the system bus, and on it, on request, python3-dbusmock's NetworkManager and logind
stand-ins run (a reboot is then only a recorded call). The simulated port module comes
first on LD_LIBRARY_PATH and logs every port access. A display of its own (Xvfb) and a tray
host (trayer) can be added; without a display the program runs on Qt's offscreen platform.
The program runs as a copy under a name of the sandbox's own, so no other Tarnwick on the
machine counts as a running instance.

Every process the sandbox starts ends with it, by its PID, and with the process that made
the sandbox if that dies. Used by the lab, the benches and the tests:

    from sandbox import Sandbox           # Python: the class below
    sandbox.py serve [OPTIONS]            # anything else: a line protocol on stdin/stdout

`serve` prints NAME=VALUE lines (the variables to run the program with, SANDBOX_ROOT and
TARNWICK, the program's copy), then "ready" (or "error: ..." and ends). It then takes one
command a line, answered by "ok" or "error: ...": start, stop, pause or resume NAME, with
NAME one of networkmanager, logind, notification_daemon, trayer; restart-bus. End of input ends the sandbox.
"""

import argparse
import ctypes
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PYTHON = "/usr/bin/python3"  # the system's own: another python3 on PATH may lack dbus
SERVICES = {"networkmanager": "org.freedesktop.NetworkManager",
            "logind": "org.freedesktop.login1",
            "notification_daemon": "org.freedesktop.Notifications"}
PANEL = '"panel": ("panel" "trayer")'
NM = "org.freedesktop.NetworkManager"
NM_PATH = "/org/freedesktop/NetworkManager"
# What the sandbox sets; nothing of these reaches its processes from outside.
OWN = ("HOME", "DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "SESSION_MANAGER", "LD_LIBRARY_PATH")
OWN_PREFIXES = ("XDG_", "DBUS_", "QT_", "INPOUT32_")


def wait_for(predicate, timeout=10.0):
    """Polls predicate until it returns something true; returns that, or None at timeout."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = predicate()
        if result:
            return result
        time.sleep(0.05)
    return None


def _detach():
    # A session of its own (a Ctrl-C at the terminal reaches only the sandbox's owner, which
    # ends everything in order), and killed when the sandbox's process dies (PR_SET_PDEATHSIG).
    os.setsid()
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)


class Sandbox:
    def __init__(self, program=None, port_sim=None, display=False, stand_ins=()):
        """program: copied under the sandbox's own name; port_sim: folder of the simulated
        port module; display: an Xvfb of its own (else QT_QPA_PLATFORM=offscreen)."""
        self.root = tempfile.mkdtemp(prefix="tarnwick-")
        self.processes = []
        self.named = {}
        self.program = None
        env = {k: v for k, v in os.environ.items()
               if k not in OWN and not k.startswith(OWN_PREFIXES)}
        for name in ("home", "config", "data", "cache", "state", "run"):
            os.makedirs(self.path(name), mode=0o700)
        env.update(HOME=self.path("home"), XDG_CONFIG_HOME=self.path("config"),
                   XDG_DATA_HOME=self.path("data"), XDG_CACHE_HOME=self.path("cache"),
                   XDG_STATE_HOME=self.path("state"), XDG_RUNTIME_DIR=self.path("run"),
                   QT_QPA_PLATFORM="xcb" if display else "offscreen",
                   INPOUT32_SIM_LOG=self.path("port.log"))
        if port_sim:
            env["LD_LIBRARY_PATH"] = os.path.abspath(port_sim)
        self.env = env
        try:
            if program:
                self.program = self.path(os.path.basename(self.root))
                shutil.copy2(program, self.program)
            bus = "unix:path=" + self.path("bus")
            with open(self.path("bus.conf"), "w") as conf:
                # Anyone may own any name and talk to anyone; nothing is activated on demand.
                conf.write("<busconfig><type>session</type><listen>%s</listen><auth>EXTERNAL"
                           "</auth><policy context=\"default\"><allow send_destination=\"*\"/>"
                           "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>"
                           % bus)
            self.start_bus()
            env["DBUS_SESSION_BUS_ADDRESS"] = env["DBUS_SYSTEM_BUS_ADDRESS"] = bus
            if display:
                env["DISPLAY"] = ":" + self.daemon(
                    ["Xvfb", "-displayfd", "%d", "-screen", "0", "800x600x24", "-nolisten",
                     "tcp", "-noreset"])
            for name in stand_ins:
                self.start(name)
        except Exception:
            self.close()
            raise

    def start_bus(self):
        self.daemon(["dbus-daemon", "--config-file=" + self.path("bus.conf"), "--nofork",
                     "--nopidfile", "--print-address=%d"])
        self.named["bus"] = self.processes[-1]

    def restart_bus(self):
        """Ends the bus and the stand-ins on it, then starts them again at the same address:
        a restarted system bus."""
        stand_ins = [name for name in self.named if name in SERVICES]
        for name in stand_ins + ["bus"]:
            process = self.named.pop(name)
            process.kill()
            process.wait()
        os.remove(self.path("bus"))
        self.start_bus()
        for name in stand_ins:
            self.start(name)

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def spawn(self, args, **kwargs):
        """Starts a process in the sandbox; it ends with the sandbox."""
        kwargs.setdefault("stdin", subprocess.DEVNULL)
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen(args, env=kwargs.pop("env", self.env),
                                   preexec_fn=_detach, **kwargs)
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
        """Runs a tool in the sandbox; returns its output."""
        return subprocess.run(list(args), env=self.env, capture_output=True, text=True,
                              timeout=30).stdout

    def bus(self):
        import dbus
        return dbus.bus.BusConnection(self.env["DBUS_SYSTEM_BUS_ADDRESS"])

    def start(self, name):
        """Starts a stand-in (networkmanager, logind) or the tray host (trayer), and waits
        until it serves."""
        if name == "trayer":
            self.named[name] = self.spawn(
                ["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                 "--height", "32", "--SetDockType", "true", "--transparent", "false"])
            ready = lambda: PANEL in self.run("xwininfo", "-root", "-tree")  # noqa: E731
        elif name in SERVICES:
            self.named[name] = self.spawn([PYTHON, "-m", "dbusmock", "--template", name],
                                          stderr=None)
            bus = self.bus()
            ready = lambda: bus.name_has_owner(SERVICES[name])  # noqa: E731
        else:
            raise ValueError("no such stand-in: " + name)
        if not wait_for(ready, 15):
            raise RuntimeError(name + " did not come up")

    def stop(self, name):
        """Ends a stand-in or the tray host and waits until it is gone."""
        process = self.named.pop(name)
        process.kill()
        process.wait()
        if name in SERVICES:
            bus = self.bus()
            wait_for(lambda: not bus.name_has_owner(SERVICES[name]), 15)

    def pause(self, name, paused=True):
        """Stops (SIGSTOP) or continues a stand-in: a service that hangs."""
        os.kill(self.named[name].pid, signal.SIGSTOP if paused else signal.SIGCONT)

    def add_profile(self, name, active=False):
        """A connection profile in the NetworkManager stand-in, activated when asked."""
        import dbus
        bus = self.bus()
        settings = bus.get_object(NM, NM_PATH + "/Settings")
        path = settings.AddConnection({"connection": {"id": name, "type": "gsm"}},
                                      dbus_interface=NM + ".Settings")
        if active:
            bus.get_object(NM, NM_PATH).ActivateConnection(
                path, dbus.ObjectPath("/"), dbus.ObjectPath("/"), dbus_interface=NM)
        return path

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGCONT)
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self.processes = []
        # The instance locks of the program's copies, named after their files (which all
        # start with the sandbox's name) in the machine's lock folder.
        for folder in ("/run/lock", "/tmp"):
            for lock in glob.glob("%s/%s*.lock" % (folder, os.path.basename(self.root))):
                os.remove(lock)
        shutil.rmtree(self.root, ignore_errors=True)


def serve(args):
    """The line protocol for programs in other languages."""
    try:
        sandbox = Sandbox(args.program, args.port_sim, args.display, args.stand_in or ())
    except Exception as error:  # noqa: BLE001
        print("error:", error, flush=True)
        return 1
    for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(signum, lambda *_: sys.exit(0))
    try:
        names = sorted(k for k in sandbox.env
                       if k in OWN or k.startswith(OWN_PREFIXES))
        for name in names:
            print("%s=%s" % (name, sandbox.env[name]))
        print("SANDBOX_ROOT=" + sandbox.root)
        print("TARNWICK=" + (sandbox.program or ""))
        print("ready", flush=True)
        for line in sys.stdin:
            verb, _, name = line.strip().partition(" ")
            try:
                if verb == "start":
                    sandbox.start(name)
                elif verb == "stop":
                    sandbox.stop(name)
                elif verb in ("pause", "resume"):
                    sandbox.pause(name, verb == "pause")
                elif verb == "restart-bus":
                    sandbox.restart_bus()
                else:
                    raise ValueError("unknown command: " + line.strip())
                print("ok", flush=True)
            except Exception as error:  # noqa: BLE001
                print("error:", error, flush=True)
    finally:
        sandbox.close()
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("command", choices=["serve"])
    parser.add_argument("--program", help="the program to copy into the sandbox")
    parser.add_argument("--port-sim", help="folder of the simulated port module")
    parser.add_argument("--display", action="store_true", help="an Xvfb of its own")
    parser.add_argument("--stand-in", action="append", choices=sorted(SERVICES),
                        help="a stand-in to start at once (repeatable)")
    return serve(parser.parse_args())


if __name__ == "__main__":
    sys.exit(main())
