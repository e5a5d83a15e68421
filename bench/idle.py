#!/usr/bin/python3
"""Prints what Tarnwick costs when idle, beside a bare Qt 6 tray program (a QSystemTrayIcon
and a one-minute QTimer) measured in the same run: start-up to a docked icon, exit time, RSS,
PSS, voluntary context switches a minute per thread, CPU time an hour and the median CPU
time of a wake-up, headless (Qt's
offscreen platform) and with a tray (Xvfb and trayer), with the link up (an active
connection in the NetworkManager stand-in) and a connection check every minute.

    bench/idle.py --program TARNWICK --baseline BASELINE --port-sim DIR
                  [--also LABEL=PROGRAM ...] [--seconds 180] [--starts 5]

Everything runs in the shared sandbox (scripts/sandbox.py), each program as a copy under a
name of its own with its own HOME and XDG folders (the runtime folder on /dev/shm, a memory
file system as a session's runtime folder is). Switches and CPU time (the scheduler's
own per-thread counts) do not depend on how busy the machine is, although a wake after
another program ran finds the caches cold and costs more; start-up and exit times do: the
load average is printed with them. Figures, never a verdict.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../scripts"))
from sandbox import Sandbox, wait_for  # noqa: E402

PROFILE = ("[WatchDogging]\nsDefaultConnection=Modem\nbEstablishConnection=0\n"
           "bCheckConnState=1\nbCheckFileRefresh=0\nbCheckURLDownload=0\niCheckDelay=1\n"
           "[General]\nbAutoRun=0\nbAutoShutdown=0\n")


class Docking:
    """Reports when a window is reparented into the tray host (xev on the root window)."""

    def __init__(self, sandbox):
        self.events = []
        self.xev = sandbox.spawn(["xev", "-root", "-event", "substructure"],
                                 stdout=subprocess.PIPE, text=True, bufsize=1)
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        for line in self.xev.stdout:
            if line.startswith("ReparentNotify"):
                self.events.append(time.monotonic())

    def after(self, t0, timeout=10):
        return wait_for(lambda: next((t for t in self.events if t > t0), None), timeout)


class Program:
    def __init__(self, sandbox, label, path, mode):
        self.sandbox, self.label, self.mode = sandbox, label, mode
        # A name of its own for each copy: one instance per file name.
        home = sandbox.path("%s-%s" % (label, mode))
        self.copy = sandbox.path("%s-%s-%s" % (os.path.basename(sandbox.root), label, mode))
        shutil.copy2(path, self.copy)
        # The runtime folder on a memory file system, as a session's (/run/user/UID) is.
        self.run = (tempfile.mkdtemp(prefix="tarnwick-bench-", dir="/dev/shm")
                    if os.path.isdir("/dev/shm") else home + "/run")
        self.env = dict(sandbox.env, HOME=home + "/home", XDG_CONFIG_HOME=home + "/config",
                        XDG_STATE_HOME=home + "/state", XDG_RUNTIME_DIR=self.run)
        if mode == "headless":
            self.env.pop("DISPLAY")
            self.env["QT_QPA_PLATFORM"] = "offscreen"
        for folder in ("home", "config/Tarnwick", "state", self.run):
            os.makedirs(os.path.join(home, folder), mode=0o700, exist_ok=True)
        with open(home + "/config/Tarnwick/Tarnwick.conf", "w") as profile:
            profile.write(PROFILE)
        self.process = None

    def start(self):
        self.process = self.sandbox.spawn([self.copy], env=self.env)

    def cpu(self):
        """The CPU seconds all the process's threads have used so far."""
        task = "/proc/%d/task" % self.process.pid
        total = 0
        for tid in os.listdir(task):
            try:
                total += int(open("%s/%s/schedstat" % (task, tid)).read().split()[0])
            except OSError:
                pass  # the thread ended meanwhile
        return total / 1e9

    def stop(self):
        """SIGTERM; the wall and CPU seconds until the process has ended."""
        cpu = self.cpu()
        t0 = time.monotonic()
        self.process.terminate()
        _, status, usage = os.wait4(self.process.pid, 0)
        wall = time.monotonic() - t0
        self.process.returncode = os.waitstatus_to_exitcode(status)
        return wall, usage.ru_utime + usage.ru_stime - cpu

    def sample(self):
        """Per thread: name -> (voluntary switches, CPU ns); and RSS, PSS in kB."""
        threads = {}
        task = "/proc/%d/task" % self.process.pid
        for tid in os.listdir(task):
            try:
                name = open("%s/%s/comm" % (task, tid)).read().strip()
                status = open("%s/%s/status" % (task, tid)).read()
                cpu = int(open("%s/%s/schedstat" % (task, tid)).read().split()[0])
            except OSError:
                continue  # the thread ended meanwhile
            switches = int(status.split("voluntary_ctxt_switches:")[1].split()[0])
            key = "main" if int(tid) == self.process.pid else "%s/%s" % (name, tid)
            threads[key] = (switches, cpu)
        rollup = open("/proc/%d/smaps_rollup" % self.process.pid).read().split()
        memory = {rollup[i].rstrip(":"): int(rollup[i + 1]) for i in range(len(rollup) - 1)
                  if rollup[i] in ("Rss:", "Pss:")}
        return threads, memory["Rss"], memory["Pss"]


def median_ms(values):
    if not values:
        return "-"
    return "%.0f ms (%.0f-%.0f)" % (statistics.median(values) * 1e3, min(values) * 1e3,
                                    max(values) * 1e3)


def load():
    return "load %s" % " ".join(open("/proc/loadavg").read().split()[:3])


def measure_starts(sandbox, programs, starts):
    """Per program: wall and CPU seconds to the docked icon, and to the end after SIGTERM."""
    docking = Docking(sandbox)
    times = {}
    for program in programs:
        figures = ([], [], [], [])
        for _ in range(starts):
            t0 = time.monotonic()
            program.start()
            if program.mode == "tray":
                t = docking.after(t0)
                if t is None:
                    print("  %s: the icon did not dock" % program.label)
                    program.stop()
                    break
                figures[1].append(program.cpu())  # at once: as little after docking as can be
                figures[0].append(t - t0)
                time.sleep(0.3)
            else:
                time.sleep(1)
            for figure, value in zip(figures[2:], program.stop()):
                figure.append(value)
        times[program] = figures
    return times


def measure_idle(programs, seconds):
    """Per program: RSS, PSS, switches a minute, CPU ms an hour, and the threads' switches."""
    for program in programs:
        program.start()
    time.sleep(3)  # start-up settles; the checks come at 60 s, 120 s, ...
    before = {program: program.sample() for program in programs}
    # The CPU time of each wake: a second's growth, where it grew. The total over a few
    # minutes follows one slow wake (caches cold after another program ran); the median
    # of the wakes does not.
    wakes = {program: [] for program in programs}
    last = {program: program.cpu() for program in programs}
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        time.sleep(min(1.0, max(0.0, end - time.monotonic())))
        for program in programs:
            now = program.cpu()
            if now > last[program]:
                wakes[program].append(now - last[program])
            last[program] = now
    figures = {}
    for program in programs:
        threads0 = before[program][0]
        threads1, rss, pss = program.sample()
        per_thread = {name: [new - old for new, old in zip(threads1[name],
                                                            threads0.get(name, (0, 0)))]
                      for name in threads1}
        switches = sum(s for s, _ in per_thread.values()) * 60 / seconds
        cpu = sum(c for _, c in per_thread.values()) / 1e6 * 3600 / seconds
        wake = statistics.median(wakes[program]) * 1e6 if wakes[program] else 0.0
        figures[program] = (rss, pss, switches, cpu, wake, ", ".join(
            "%s %.1f" % (name.split("/")[0], s * 60 / seconds)
            for name, (s, _) in sorted(per_thread.items())))
        program.stop()
    return figures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--baseline", required=True)
    parser.add_argument("--port-sim", required=True)
    parser.add_argument("--also", action="append", default=[], metavar="LABEL=PROGRAM",
                        help="another build of Tarnwick to measure in the same run")
    parser.add_argument("--seconds", type=int, default=180)
    parser.add_argument("--starts", type=int, default=5)
    args = parser.parse_args()

    builds = [("baseline", args.baseline), ("tarnwick", args.program)]
    builds += [tuple(also.split("=", 1)) for also in args.also]
    sandbox = Sandbox(port_sim=args.port_sim, display=True,
                      stand_ins=("networkmanager", "logind"))
    programs = []
    try:
        sandbox.start("trayer")
        sandbox.add_profile("Modem", active=True)
        sandbox.add_profile("Backup")
        programs = [Program(sandbox, label, path, mode) for mode in ("headless", "tray")
                    for label, path in builds]
        print("start-up to the docked icon and exit after SIGTERM (it saves its settings), "
              "median (least-most) of %d, %s:" % (args.starts, load()))
        times = measure_starts(sandbox, programs, args.starts)
        for program in programs:
            print("  %-8s %-9s docked %-18s CPU %-18s exit %-16s CPU %s" % (
                (program.mode, program.label) + tuple(median_ms(f) for f in times[program])))

        figures = measure_idle(programs, args.seconds)
        print("\nidle, link up, check every minute, over %d s (%s):" % (args.seconds, load()))
        for program in programs:
            print("  %-8s %-9s RSS %6d kB  PSS %6d kB  switches %5.1f/min  CPU %6.1f ms/h  "
                  "wake %4.0f us  threads: %s" % ((program.mode, program.label) + figures[program]))

        print("\nratios to the baseline: RSS, PSS, switches a minute, CPU an hour, CPU a wake "
              "(median); docked, its CPU; exit, its CPU")
        for mode in ("headless", "tray"):
            base = next(p for p in programs if (p.label, p.mode) == ("baseline", mode))
            for program in programs:
                if program.mode != mode or program is base:
                    continue
                ratios = [o / b if b else None
                          for o, b in zip(figures[program][:5], figures[base][:5])]
                ratios += [statistics.median(o) / statistics.median(b) if o and b else None
                           for o, b in zip(times[program], times[base])]
                print("  %-8s %-9s %s" % (mode, program.label, "  ".join(
                    "%5.2fx" % r if r is not None else "    - " for r in ratios)))
    finally:
        sandbox.close()
        for program in programs:
            if program.run.startswith("/dev/shm/"):
                shutil.rmtree(program.run, ignore_errors=True)


if __name__ == "__main__":
    main()
