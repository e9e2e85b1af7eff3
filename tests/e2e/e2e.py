"""Shared fixtures of the end-to-end tests written in Python: a private copy of the program in a
fresh folder (it keeps a.bz and ts.ini beside its executable), a session bus with the
accessibility bus so the program can be read and driven as a screen reader does (drive.py), the
data files in their real encodings, and checks that print PASS or FAIL lines.

A test script:

    from e2e import Session
    with Session() as s:              # the program's path is the first argument
        s.write_data(["...", "..."])  # a.bz, GBK, CR LF between lines
        s.start()
        s.check("what", condition)
    # leaving the block stops everything and exits 1 when a check failed

Run the scripts with the Debian Python (/usr/bin/python3), which has pyatspi.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

E2E_DIR = os.path.dirname(os.path.abspath(__file__))
SLOT_KEYS = ["是否显示", "编号", "工程部位", "强度等级", "配合比编号", "制作日期", "龄期",
             "养护方式", "到期时间", "工程量", "组数", "备注"]


def wait_until(test, seconds, step=0.1):
    """Calls test() until it gives a true value or the time is up; returns its last value."""
    deadline = time.time() + seconds
    while True:
        value = test()
        if value or time.time() >= deadline:
            return value
        time.sleep(step)


def fake_clock(start, speed=10):
    """Environment that runs the program's clock from `start` ("YYYY-MM-DD hh:mm:ss"), `speed`
    times as fast as the real one (libfaketime; timers run as fast too)."""
    return {"LD_PRELOAD": "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1",
            "FAKETIME": f"@{start} x{speed}"}


def wait_for_fresh_minute(room=15):
    """Waits until the current minute has at least `room` seconds left."""
    second = time.localtime().tm_sec
    if second > 60 - room:
        time.sleep(61 - second)


class Session:
    def __init__(self, binary=None):
        self.binary = binary or sys.argv[1]
        self.work = tempfile.mkdtemp(prefix="mirosta-e2e.")
        shutil.copy(self.binary, os.path.join(self.work, "mirosta"))
        self.failures = 0
        self.processes = []
        self.program = None
        self.env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        self.env.setdefault("XDG_RUNTIME_DIR", os.path.join(self.work, "runtime"))
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
        self._drive = None
        if not self.env.get("DISPLAY"):
            self._start_x_server()

    # --- set-up and tear-down -------------------------------------------------------------------

    def __enter__(self):
        return self

    def __exit__(self, kind, value, trace):
        if kind is not None:
            print(f"FAIL: the test stopped: {kind.__name__}: {value}")
            self.failures += 1
        if self.failures:
            self.show_log()
        self.stop_all()
        shutil.rmtree(self.work, ignore_errors=True)
        print("all checks passed" if not self.failures else f"{self.failures} check(s) failed")
        sys.exit(1 if self.failures else 0)

    def _start_x_server(self):
        display = 120
        while os.path.exists(f"/tmp/.X11-unix/X{display}"):
            display += 1
        self.processes.append(subprocess.Popen(
            ["Xvfb", f":{display}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        wait_until(lambda: os.path.exists(f"/tmp/.X11-unix/X{display}"), 5)
        self.env["DISPLAY"] = os.environ["DISPLAY"] = f":{display}"

    def start_accessibility_bus(self):
        out = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                              "--print-pid=1"], capture_output=True, text=True).stdout.split()
        address, pid = out[0], int(out[1])
        self.processes.append(pid)
        for env in (self.env, os.environ):
            env["DBUS_SESSION_BUS_ADDRESS"] = address
            env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.processes.append(subprocess.Popen(
            ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        time.sleep(0.5)

    @property
    def drive(self):
        """The drive module (imported once the accessibility bus is up)."""
        if self._drive is None:
            if "DBUS_SESSION_BUS_ADDRESS" not in self.env or not any(
                    isinstance(p, int) for p in self.processes):
                self.start_accessibility_bus()
            sys.path.insert(0, E2E_DIR)
            import drive
            self._drive = drive
        return self._drive

    def drive_in_background(self, *args):
        """Runs drive.py with the arguments in a process of its own, for a menu item whose
        command opens a modal window or message box (the call returns only when it closes)."""
        self.drive  # the accessibility bus is up
        process = subprocess.Popen([sys.executable, os.path.join(E2E_DIR, "drive.py")] +
                                   list(args), env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def start(self, extra_env=None, prefix=()):
        """Starts the program in the work folder; `prefix` runs it under another command
        (faketime, say)."""
        env = dict(self.env, **(extra_env or {}))
        log = open(os.path.join(self.work, "program.log"), "ab")
        self.program = subprocess.Popen(list(prefix) + ["./mirosta"], cwd=self.work, env=env,
                                        stdout=log, stderr=log)
        self.processes.append(self.program)
        return self.program

    def running(self):
        return self.program is not None and self.program.poll() is None

    def kill(self, sig=signal.SIGKILL):
        if self.running():
            self.program.send_signal(sig)
            if sig in (signal.SIGKILL, signal.SIGTERM):
                self.program.wait(10)

    def stop_all(self):
        for p in reversed(self.processes):
            try:
                if isinstance(p, int):
                    os.kill(p, signal.SIGTERM)
                else:
                    p.kill()
                    p.wait(5)
            except (OSError, subprocess.TimeoutExpired):
                pass
        self.processes = []

    def show_log(self):
        path = os.path.join(self.work, "program.log")
        if os.path.exists(path):
            print("--- program output ---")
            print(open(path, "rb").read().decode("utf-8", "replace")[-4000:])

    # --- files ---------------------------------------------------------------------------------

    def path(self, name):
        return os.path.join(self.work, name)

    def write_data(self, lines, tail=b""):
        """a.bz from text lines: GBK, CR LF between lines, none after the last; `tail` is raw
        bytes put after them."""
        with open(self.path("a.bz"), "wb") as f:
            f.write("\r\n".join(lines).encode("gbk") + tail)

    def read_bytes(self, name="a.bz"):
        try:
            with open(self.path(name), "rb") as f:
                return f.read()
        except OSError:
            return None

    def read_lines(self, name="a.bz"):
        data = self.read_bytes(name)
        return None if data is None else data.decode("gbk").split("\r\n")

    def slots(self):
        """ts.ini as a list of (section name, {key: value}) in file order; [] without a file."""
        data = self.read_bytes("ts.ini")
        if data is None:
            return []
        sections = []
        for line in data.decode("gbk").split("\r\n"):
            if line.startswith("["):
                sections.append((line.strip("[]"), {}))
            elif "=" in line and sections:
                key, value = line.split("=", 1)
                sections[-1][1][key] = value
        return sections

    def busy_slots(self):
        return [name for name, entries in self.slots() if entries.get("是否显示") == "1"]

    # --- windows -------------------------------------------------------------------------------

    def windows(self, name):
        """X window ids of the visible windows whose name matches the regular expression."""
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                             capture_output=True, text=True, env=self.env).stdout
        return out.split()

    def popups(self):
        return self.windows("^数据提示$")

    def wait_for_popups(self, count, seconds):
        return wait_until(lambda: len(self.popups()) >= count, seconds) and self.popups()

    def popup_texts(self):
        """The lines of every open pop-up (drive.py texts)."""
        return self.drive.read_texts("数据提示")

    def geometry(self, window):
        """(left, top, width, height) of an X window, absolute."""
        which = ["-root"] if window == "root" else ["-id", str(window)]
        out = subprocess.run(["xwininfo"] + which, capture_output=True, text=True,
                             env=self.env).stdout
        values = {}
        for line in out.splitlines():
            line = line.strip()
            for key, name in (("Absolute upper-left X:", "x"), ("Absolute upper-left Y:", "y"),
                              ("Width:", "w"), ("Height:", "h")):
                if line.startswith(key):
                    values[name] = int(line.split(":")[1])
        return values.get("x"), values.get("y"), values.get("w"), values.get("h")

    def screen_size(self):
        """(width, height) of the X screen."""
        _, _, w, h = self.geometry("root")
        return w, h

    # --- checks --------------------------------------------------------------------------------

    def check(self, what, ok, detail=""):
        print(("PASS: " if ok else "FAIL: ") + what + ("" if ok or not detail else f" ({detail})"))
        if not ok:
            self.failures += 1
        return bool(ok)

    def expect(self, what, got, want):
        return self.check(what, got == want, f"got {got!r}, want {want!r}")
