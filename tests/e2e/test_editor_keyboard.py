"""Keyboard only, from the main window to saved records: Ctrl+N opens the editor, the fields are
typed (a casting date typed as 2026-11-5), Enter in the age computes the due time, Enter again
adds the record; a third Enter is asked about the same record again and declined with Enter (否
is the default); a changed age is asked about the stale due time and Enter (是) recomputes it.
Esc closes the editor and Ctrl+Q ends the program."""
import subprocess
import time

from e2e import Session, wait_until

FIRST = "A1,C30,PB-01,2026-11-5 09:05,28,2026-12-03 09:05,标准养护,36,2,,"
SECOND = "A1,C30,PB-01,2026-11-5 09:05,7,2026-11-12 09:05,标准养护,36,2,,"
TAIL = "," * 10

with Session() as s:
    def keys(*names):
        for name in names:
            subprocess.run(["xdotool", "key", "--clearmodifiers", name], env=s.env, check=True)
            time.sleep(0.15)

    def type_text(text):
        subprocess.run(["xdotool", "type", "--delay", "30", text], env=s.env, check=True)
        time.sleep(0.1)

    def records():
        lines = s.read_lines() or []
        return [line for line in lines if line != TAIL]

    def wait_for_window(name, shown=True):
        return wait_until(lambda: bool(s.windows(name)) == shown, 10)

    def focus(name):
        """Gives the window the keyboard focus, as a window manager does (the X server has none)."""
        subprocess.run(["xdotool", "windowfocus", "--sync", s.windows(name)[0]], env=s.env)
        time.sleep(0.3)

    s.start()
    s.check("the main window is shown", wait_for_window("^(Mirosta V2|正在获取)"))
    focus("^(Mirosta V2|正在获取)")

    keys("ctrl+n")
    s.check("Ctrl+N opens the editor", wait_for_window("^增添提醒数据"))
    time.sleep(0.5)
    # Text1, Combo2 (kept), Text3, Combo1 (kept), Text8, Text9, the date, hour, minute, age.
    type_text("A1")
    keys("Tab", "Tab")
    type_text("PB-01")
    keys("Tab", "Tab")
    type_text("36")
    keys("Tab")
    type_text("2")
    keys("Tab")
    type_text("2026-11-5")
    keys("Tab")
    type_text("09")
    keys("Tab")
    type_text("05")
    keys("Tab")
    type_text("28")
    keys("Return")  # no due time yet: "?"
    time.sleep(0.5)
    s.expect("nothing is saved by the first Enter", records(), [])
    keys("Return")  # 添加
    s.check("the second Enter saves the record",
            wait_until(lambda: records() == [FIRST], 5), f"a.bz: {s.read_lines()}")

    keys("Return")  # the same record again
    s.check("the same record again is asked about", wait_for_window("^提示$"))
    keys("Return")  # 否, the default
    s.check("the question closes", wait_for_window("^提示$", shown=False))
    time.sleep(0.3)
    s.expect("declined: a.bz is unchanged", records(), [FIRST])
    focus("^增添提醒数据")  # back to the editor, where the age still has the focus

    keys("ctrl+a")
    type_text("7")  # the age changes; the due time is still the 28-day one
    keys("Return")
    s.check("the stale due time is asked about", wait_for_window("^提示$"))
    keys("Return")  # 是, the default: recompute and add
    s.check("the recomputed record is saved",
            wait_until(lambda: records() == [FIRST, SECOND], 5), f"a.bz: {s.read_lines()}")
    s.expect("a.bz ends with the empty row", (s.read_lines() or [])[-1], TAIL)
    wait_for_window("^提示$", shown=False)
    focus("^增添提醒数据")

    keys("Escape")
    s.check("Esc closes the editor", wait_for_window("^增添提醒数据", shown=False))
    focus("^Mirosta V2")
    keys("ctrl+q")
    s.check("Ctrl+Q ends the program", wait_until(lambda: not s.running(), 10))
