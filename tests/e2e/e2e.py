"""Shared fixtures of the end-to-end tests: copies of the program in fresh folders (it keeps a.bz
and ts.ini beside its executable), the X server (a private one without DISPLAY), the accessibility
bus for drive.py, the data files in their encodings, PASS/FAIL checks. `with Session() as s:` (the
program is the first argument); leaving the block stops everything, exit status 1 on a failure."""
import datetime
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from Xlib import X, display, protocol

CAPTION = r"^Mirosta V2\.2  (\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)$"  # the main window's clock


def wait_until(test, seconds=15, step=0.1):
    """Calls test() until it gives a true value or the time is up; returns its last value."""
    deadline = time.time() + seconds
    while not (value := test()) and time.time() < deadline:
        time.sleep(step)
    return value


def fake_clock(start, speed=10):
    """Runs the program's clock from `start`, `speed` times as fast, timers included. The library
    goes into the program itself: stopping the faketime command would leave the program."""
    return {"LD_PRELOAD": "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1",
            "FAKETIME": f"@{start} x{speed}"}


class Session:
    def __init__(self):
        self.work = tempfile.mkdtemp(prefix="mirosta-e2e.")
        self.failures, self.processes, self.program, self.drive = 0, [], None, None
        self.env = dict(os.environ, QT_QPA_PLATFORM="xcb", PYTHONDONTWRITEBYTECODE="1")
        self.env.setdefault("XDG_RUNTIME_DIR", os.path.join(self.work, "runtime"))
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
        if not self.env.get("DISPLAY"):  # a private X server on the first free display
            n = next(n for n in range(120, 999) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
            self.env["DISPLAY"] = os.environ["DISPLAY"] = f":{n}"
            self.spawn("Xvfb", f":{n}", "-screen", "0", "1024x768x24", "-nolisten", "tcp")
        # Held to the end: Xvfb resets itself when its last client leaves (the programs of the
        # test before, say) and refuses connections meanwhile.
        self.x = wait_until(self._connect, 20)
        self.root = self.x.screen().root
        self.fresh_folder("main")

    def _connect(self):
        try:
            x = display.Display(self.env["DISPLAY"])
            return x.sync() or x
        except Exception:
            return None

    def __enter__(self):
        return self

    def __exit__(self, kind, value, trace):
        if kind is not None:
            self.check(f"the test went on ({kind.__name__}: {value})", False)
        log = os.path.join(self.work, "program.log")
        if self.failures and os.path.exists(log):
            print("--- program output ---\n" + open(log, "rb").read()[-4000:].decode(
                errors="replace"))
        for p in reversed(self.processes):  # SIGTERM: the bus launcher then ends its bus
            p.terminate()
            try:
                p.wait(3)
            except subprocess.TimeoutExpired:
                p.kill()
        shutil.rmtree(self.work, ignore_errors=True)
        print(f"{self.failures} check(s) failed" if self.failures else "all checks passed")
        sys.exit(1 if self.failures else 0)

    def spawn(self, *command, **options):
        """Starts a process that leaving the session ends."""
        self.processes.append(subprocess.Popen(command, **{
            "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL, **options}))
        return self.processes[-1]

    def start_accessibility_bus(self):
        """For the programs started from now on; the drive module then reads and drives them."""
        bus = os.path.join(self.work, "bus")
        self.spawn("dbus-daemon", "--session", "--nofork", "--address=unix:path=" + bus)
        wait_until(lambda: os.path.exists(bus), 10)
        for env in (self.env, os.environ):
            env.update(DBUS_SESSION_BUS_ADDRESS="unix:path=" + bus,
                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.spawn("/usr/libexec/at-spi-bus-launcher", "--launch-immediately", env=self.env)
        time.sleep(0.5)
        import drive
        self.drive = drive

    def in_background(self, *command):
        """A drive.py command in a process of its own, for an action whose modal window holds."""
        self.spawn(sys.executable, os.path.join(os.path.dirname(__file__), "drive.py"), *command,
                   env=self.env)

    def fresh_folder(self, name):
        """A new folder with a copy of the program, the one the calls below work in."""
        self.dir = os.path.join(self.work, name)
        os.makedirs(self.dir)
        shutil.copy(sys.argv[1], self.path("mirosta"))

    def start(self, extra_env=None):
        log = open(os.path.join(self.work, "program.log"), "ab")
        self.program = self.spawn("./mirosta", cwd=self.dir, stdout=log, stderr=log,
                                  env=dict(self.env, **(extra_env or {})))
        return self.program

    def kill(self, sig=signal.SIGKILL):
        self.program.send_signal(sig)
        if sig == signal.SIGKILL:
            self.program.wait(10)

    def main_window(self):
        """The main window, once it shows its clock."""
        return wait_until(lambda: list(self.windows(CAPTION)))[0]

    def program_time(self):
        """The program's clock as its main window's caption shows it, once it shows one."""
        caption = wait_until(lambda: list(self.windows(CAPTION).values()))[0][0]
        return datetime.datetime.fromisoformat(re.match(CAPTION, caption).group(1))

    def path(self, name):
        return os.path.join(self.dir, name)

    def write_data(self, lines, tail=b""):
        """a.bz from text lines: GBK, CR LF between lines, none after the last; then `tail`."""
        with open(self.path("a.bz"), "wb") as f:
            f.write("\r\n".join(lines).encode("gbk") + tail)

    def read_bytes(self, name="a.bz"):
        if os.path.isfile(self.path(name)):
            with open(self.path(name), "rb") as f:
                return f.read()

    def read_lines(self, name="a.bz"):
        data = self.read_bytes(name)
        return data.decode("gbk").split("\r\n") if data is not None else None

    def slots(self):
        """ts.ini as a list of (section name, {key: value}) in file order."""
        sections = []
        for line in self.read_lines("ts.ini") or []:
            if line.startswith("["):
                sections.append((line.strip("[]"), {}))
            elif "=" in line and sections:
                sections[-1][1].__setitem__(*line.split("=", 1))
        return sections

    def busy_slots(self):
        return [name for name, entries in self.slots() if entries.get("是否显示") == "1"]

    def windows(self, caption="."):
        """The shown top-level windows whose caption matches, as {window id: (caption, pid)}."""
        found, atom = {}, self.x.intern_atom
        for w in self.root.query_tree().children:
            try:
                if w.get_attributes().map_state == X.IsViewable:
                    name = w.get_full_property(atom("_NET_WM_NAME"), 0).value.decode()
                    if re.search(caption, name):
                        found[w.id] = (name, w.get_full_property(atom("_NET_WM_PID"), 0).value[0])
            except Exception:  # no caption, or gone meanwhile
                pass
        return found

    def popups(self, count=0, seconds=30):
        """The pop-ups' windows, once there are `count` of them or the time is up."""
        wait_until(lambda: len(self.windows("^数据提示$")) >= count, seconds)
        return list(self.windows("^数据提示$"))

    def geometry(self, window):
        """(left, top, width, height) of a window on the screen."""
        w = self.x.create_resource_object("window", window)
        at, size = self.root.translate_coords(w, 0, 0), w.get_geometry()
        return at.x, at.y, size.width, size.height

    def close(self, window):
        """Asks a window to close, as its close box does."""
        w, atom = self.x.create_resource_object("window", window), self.x.intern_atom
        w.send_event(protocol.event.ClientMessage(window=w, client_type=atom("WM_PROTOCOLS"), data=(
            32, [atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
        self.x.sync()

    def focus(self, window):
        """Gives a window the keyboard focus, as a window manager would (Xvfb runs none)."""
        self.x.create_resource_object("window", window).set_input_focus(X.RevertToParent, 0)
        self.x.sync()
        time.sleep(0.3)

    def keys(self, *keys):
        for key in keys:
            subprocess.run(["xdotool", "key", "--clearmodifiers", key], env=self.env)
            time.sleep(0.15)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "30", text], env=self.env)

    def check(self, what, ok, detail=""):
        print(("PASS: " if ok else "FAIL: ") + what + ("" if ok or not detail else f" ({detail})"))
        self.failures += not ok

    def expect(self, what, got, want):
        self.check(what, got == want, f"got {got!r}, want {want!r}")
