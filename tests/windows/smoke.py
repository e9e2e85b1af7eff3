"""The real mirosta.exe under Wine, on Qt's windows platform, on a private Xvfb, driven with xdotool
(Wine's windows are X windows with titles; a grid cell is read by copying it, Ctrl+C, from Wine's
clipboard, which Wine shares with X). Usage: smoke.py <stage folder> <installer>; Wine's prefix and
settings come from the environment (scripts/windows/env.sh).

A portable folder: the main window lists today's records in file order; a record due earlier
today comes at once as 补发 and one due a minute or two ahead comes in its minute, the pop-ups at
the bottom right, stacked upwards, the rows marked; a record typed into the editor reaches a.bz as
one GBK line with CR LF; 设置开机自启动 writes and removes the Run value; a second start in the same
folder ends at once. The installer, run silently, installs the program, its shortcut and the Run
value; the installed program keeps its data beside it; the uninstaller removes the program and the
Run value and leaves a.bz."""
import datetime
import os
import pwd
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from e2e import CAPTION, Session, wait_until  # noqa: E402

WINE64 = "/usr/lib/wine/wine64"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Mirosta"


class WineSession(Session):
    def __init__(self, stage, installer):
        self.stage, self.installer = os.path.abspath(stage), os.path.abspath(installer)
        super().__init__()
        # A fresh Wine server for this X server: Wine's desktop process keeps the display it
        # started with.
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        self.clipboard = None

    def fresh_folder(self, name):
        self.dir = os.path.join(self.work, name)
        shutil.copytree(self.stage, self.dir)

    def start(self, exe="mirosta.exe", extra_env=None):
        log = open(os.path.join(self.work, "program.log"), "ab")
        self.program = self.spawn(WINE64, exe, cwd=self.dir, stdout=log, stderr=log,
                                  env=dict(self.env, **(extra_env or {})))
        return self.program

    def wine(self, *command):
        return subprocess.run([WINE64, *command], env=self.env, capture_output=True, timeout=120)

    def reg(self, key, value=None):
        """A value's data as `reg query` prints it (None when there is none); without a value
        name, whether the key exists."""
        done = self.wine("reg", "query", key, *(["/v", value] if value else []))
        if value is None:
            return done.returncode == 0
        out = done.stdout.decode(errors="replace")
        for line in out.splitlines():
            parts = line.split(None, 2)
            if len(parts) == 3 and parts[0] == value:
                return parts[2].strip()
        return None

    def windows_path(self, path):
        return "Z:" + os.path.realpath(path).replace("/", "\\")

    def focus_caption(self, caption):
        window = wait_until(lambda: list(self.windows(caption)))[0]
        subprocess.run(["xdotool", "windowfocus", str(window)], env=self.env)
        time.sleep(0.5)
        return window

    def copy_cell(self):
        """The current grid cell's text, through the clipboard."""
        self.keys("ctrl+c")
        time.sleep(0.3)
        out = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                             capture_output=True)
        return out.stdout.decode() if out.returncode == 0 else None

    def column(self, rights, rows):
        """One column of the main window's grid, `rights` columns right of 工程部位."""
        self.focus_caption(CAPTION)
        self.keys("ctrl+Home", *["Right"] * rights)
        cells = [self.copy_cell()]
        for _ in range(rows - 1):
            self.keys("Down")
            cells.append(self.copy_cell())
        return cells

    def paste(self, text):
        """Types text that xdotool cannot type into Wine (Chinese), through the clipboard."""
        if self.clipboard:
            self.clipboard.terminate()
        self.clipboard = self.spawn("xclip", "-quiet", "-selection", "clipboard", "-i",
                                    stdin=subprocess.PIPE, env=self.env)
        self.clipboard.stdin.write(text.encode())
        self.clipboard.stdin.close()
        time.sleep(0.3)
        self.keys("ctrl+v")


now = datetime.datetime.now()
if now.time() > datetime.time(23, 55):  # the records below must all fall due today
    time.sleep((datetime.datetime.combine(now.date(), datetime.time(23, 59, 59)) - now).seconds + 2)
    now = datetime.datetime.now()
today, yesterday = now.date(), now.date() - datetime.timedelta(days=1)
soon = (now + datetime.timedelta(minutes=2)).replace(second=0, microsecond=0)
EARLIER = f"一号楼柱,C30,PB-001,{yesterday} 00:00,1,{today} 00:00,标准养护,36,2,,"
OTHER_DAY = f"二号楼梁,C35,PB-002,{yesterday} 08:00,28,2020-01-01 08:00,标准养护,12,1,,"
SOON = f"三号楼板,C40,PB-003,{yesterday} 09:00,1,{soon:%Y-%m-%d %H:%M},同级养护,8,1,,"
LATER = f"四号楼墙,C45,PB-004,{yesterday} 23:59,1,{today} 23:59,同级养护,20,3,,"

with WineSession(sys.argv[1], sys.argv[2]) as s:
    s.write_data([EARLIER, OTHER_DAY, SOON, LATER])
    before = s.read_bytes()
    s.start()
    s.check("the main window shows its clock", s.main_window())
    s.expect("today's records in file order, then an empty row", s.column(0, 4),
             ["一号楼柱", "三号楼板", "四号楼墙", ""])
    s.check("the record due earlier today comes at once", len(s.popups(1, 20)) == 1)

    s.check(f"the record due at {soon:%H:%M} comes in its minute",
            len(s.popups(2, (soon - datetime.datetime.now()).seconds + 30)) == 2 and
            f"{datetime.datetime.now():%H:%M}" == f"{soon:%H:%M}")
    boxes = sorted((s.geometry(w) for w in s.popups()), key=lambda box: -box[1])
    screen = s.root.get_geometry()
    s.check("the pop-ups stand at the bottom right, the second one above the first",
            all(abs(x + w - screen.width) <= 8 for x, _, w, _ in boxes) and
            abs(boxes[0][1] + boxes[0][3] - screen.height) <= 8 and
            abs(boxes[1][1] + boxes[1][3] - boxes[0][1]) <= 8, boxes)
    s.expect("both rows are marked", s.column(10, 3), ["到期", "到期", ""])

    # The editor: 工程部位, then the fields in their tab order; Enter computes the due time,
    # Enter again adds.
    s.focus_caption(CAPTION)
    s.keys("ctrl+n")
    s.focus_caption("^增添提醒数据")
    s.paste("五号楼柱")
    s.keys("Tab", "Tab")
    s.type("PB-005")
    s.keys("Tab", "Tab")
    for text in ("10", "1", None, "08", "30", "28"):
        if text:
            s.type(text)
        s.keys("Tab")
    s.keys("shift+Tab", "Return")
    time.sleep(1)
    s.keys("Return")
    added = (f"五号楼柱,C30,PB-005,{today.year}-{today.month}-{today.day} 08:30,28,"
             f"{today + datetime.timedelta(days=28)} 08:30,标准养护,10,1,,").encode("gbk")
    s.check("the typed record reaches a.bz as one GBK line with CR LF, before the editor's "
            "empty last row", wait_until(
                lambda: s.read_bytes() == before + b"\r\n" + added + b"\r\n" + b"," * 10, 15),
            s.read_bytes()[len(before):])
    s.keys("Escape")

    # 软件设置 → 设置, then the check box 设置开机自启动, on and off.
    s.focus_caption(CAPTION)
    s.keys("alt", "Right", "Right", "Right", "Return", "Return")
    s.focus_caption("^设置$")
    s.keys("Tab", "space")
    quoted = '"' + s.windows_path(s.path("mirosta.exe")) + '"'
    s.expect("设置开机自启动 writes the Run value, the quoted path of the program",
             wait_until(lambda: s.reg(RUN_KEY, "mirosta"), 10), quoted)
    s.keys("space")
    s.check("and clearing it removes the value",
            wait_until(lambda: s.reg(RUN_KEY, "mirosta") is None, 10))
    s.keys("Escape")

    first = s.program
    second = s.start()
    s.expect("a second start in the same folder ends at once", second.wait(20), 0)
    s.expect("leaving one main window", len(s.windows(CAPTION)), 1)
    first.kill()
    first.wait(10)

    # The installer, silently; then the installed program with an a.bz brought over.
    s.expect("the installer runs silently", s.wine(s.installer, "/S").returncode, 0)
    user = pwd.getpwuid(os.getuid()).pw_name  # Wine's user is the Unix one
    appdata = os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", user)
    s.dir = os.path.join(appdata, "AppData", "Local", "Programs", "Mirosta")
    installed = f"C:\\users\\{user}\\AppData\\Local\\Programs\\Mirosta"
    s.check("it installs the program", os.path.isfile(s.path("mirosta.exe")))
    s.expect("with the Run value", s.reg(RUN_KEY, "mirosta"), f'"{installed}\\mirosta.exe"')
    shortcut = os.path.join(appdata, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu",
                            "Programs", "Mirosta.lnk")
    s.check("and the Start menu shortcut", os.path.isfile(shortcut))
    s.check("and its entry among the installed programs", s.reg(UNINSTALL_KEY))
    s.write_data([LATER])
    brought = s.read_bytes()
    s.start(installed + r"\mirosta.exe")
    s.check("the installed program starts", s.main_window())
    s.expect("and lists the a.bz beside it", s.column(0, 2), ["四号楼墙", ""])
    s.kill()

    s.wine(installed + r"\uninstall.exe", "/S")  # it goes on from a copy of itself
    s.check("the uninstaller removes the program",
            wait_until(lambda: not os.path.exists(s.path("mirosta.exe")), 30))
    s.check("and the Run value", wait_until(lambda: s.reg(RUN_KEY, "mirosta") is None, 10))
    s.check("and the shortcut", not os.path.exists(shortcut))
    s.check("and its entry among the installed programs",
            wait_until(lambda: not s.reg(UNINSTALL_KEY), 10))
    s.check("but leaves a.bz as it was", s.read_bytes() == brought)
    shutil.rmtree(s.dir, ignore_errors=True)  # the data, for the next run
