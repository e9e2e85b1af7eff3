"""Reminders on the 1024 x 768 screen (5 groups of 3 slots), clocks ten times as fast from fixed
times (libfaketime). Records due now fire into slots 1|1 and 1|2 of a new ts.ini, pop-ups of 324 x
173 at the bottom right. Stopped across a due minute (SIGSTOP), the program announces it late after
SIGCONT; killed and restarted, it marks the rows again and frees the slots; 删除过期数据 asks
with the count, and 是 removes the fired lines. Over midnight the new day's records fire. After
three days off, the records of those days fire late with their dates, after today's late one, and
never again after a restart. On a crowded screen the notice that no place is free never takes the
keyboard focus, and a freed place goes to the next record. All the while another program listens
on the name the single-instance guard once had in the shared temporary folder, which silenced the
program before."""
import atexit
import hashlib
import os
import signal
import socket
import tempfile
import time

from e2e import Session, fake_clock, wait_until

FIRST, STAYS, SECOND, LATE = (
    "一号楼柱,C30,PB-001,2029-12-31 09:05,1,2030-01-01 09:05,标准养护,36,2,,",
    "三号楼板,C40,PB-003,2029-12-31 09:30,1,2030-01-01 09:30,标准养护,8,1,,",
    "二号楼梁,C35,PB-002,2029-12-31 09:05,1,2030-01-01 09:05,同级养护,12,1,<b>加急</b>,",
    "四号楼墙,C30,PB-004,2029-12-31 09:08,1,2030-01-01 09:08,标准养护,5,1,,")

with Session() as s:
    old_name = os.path.join(tempfile.gettempdir(), "mirosta-" + hashlib.sha1(
        os.path.realpath(s.dir).encode()).hexdigest()[:16])
    squatter = socket.socket(socket.AF_UNIX)
    squatter.bind(old_name)
    squatter.listen()
    atexit.register(os.unlink, old_name)
    s.write_data([FIRST, STAYS, SECOND, LATE])
    before = s.read_bytes()
    s.start_accessibility_bus()
    started = time.time()
    s.start(fake_clock("2030-01-01 09:05:40"))
    marks = lambda: [r[11] for r in s.drive.rows()]  # noqa: E731

    s.check("the two records due now fire", len(s.popups(2, 30)) == 2)
    wait_until(lambda: len(s.busy_slots()) == 2, 5)
    s.main_window()  # its caption shows the clock
    s.kill(signal.SIGSTOP)
    s.check("stopped before the next due minute", f"{s.program_time():%H:%M}" < "09:08")
    s.expect("slots 1|1 and 1|2 hold them, every other slot is free",
             [(n, e.get("工程部位"), e.get("备注")) for n, e in s.slots() if e.get("是否显示") != "0"],
             [("1|1", "一号楼柱", ""), ("1|2", "二号楼梁", "<b>加急</b>")])
    s.expect("pop-ups of 324 x 173 at the bottom right, the second one above the first",
             sorted((s.geometry(w) for w in s.popups()), key=lambda box: -box[1]),
             [(1024 - 324, 768 - 173, 324, 173), (1024 - 324, 768 - 2 * 173, 324, 173)])

    time.sleep(max(0.0, started + 21.5 - time.time()))  # to 09:09:15 on the program's clock
    s.kill(signal.SIGCONT)
    s.check("after SIGCONT the record of 09:08 fires", len(s.popups(3, 15)) == 3)
    s.expect("its pop-up alone says it comes late",
             [n for t in s.drive.read_texts("数据提示") for n in t if n.startswith("补发")],
             ["补发：原定 09:08 到期"])
    s.expect("into slot 1|3", s.busy_slots(), ["1|1", "1|2", "1|3"])
    s.expect("the fired rows are marked", marks(), ["到期", "", "到期", "到期", ""])
    table = [name for name, _ in s.slots()]

    s.kill()  # with the pop-ups open
    s.start(fake_clock("2030-01-01 09:20:00"))
    s.check("after a kill and a restart the marks come back", wait_until(
        lambda: marks() == ["到期", "", "到期", "到期", ""], 10), marks())
    s.check("no slot is left busy", wait_until(lambda: s.busy_slots() == [], 5), s.busy_slots())
    time.sleep(2)  # four scans
    s.check("and no pop-up comes again", not s.popups())
    s.expect("ts.ini keeps its table", [name for name, _ in s.slots()], table)
    s.check("a.bz is unchanged so far", s.read_bytes() == before)
    s.in_background("menu", "删除过期数据")
    s.check("删除过期数据 asks first, with the count", wait_until(
        lambda: "删除 3 条" in " ".join(sum(s.drive.read_texts("提示"), [])), 10))
    s.drive.press("是")
    s.check("删除过期数据 removes exactly the fired lines",
            wait_until(lambda: s.read_lines() == [STAYS], 15), s.read_lines())
    s.kill()

    s.fresh_folder("midnight")
    s.write_data([
        "一号楼柱,C30,PB-001,2029-12-31 23:59,1,2030-01-01 23:59,标准养护,36,2,,",
        "二号楼梁,C35,PB-002,2029-12-03 00:00,30,2030-01-02 00:00,标准养护,12,1,,",
        "三号楼板,C40,PB-003,2029-12-26 00:01,7,2030-01-02 00:01,同级养护,8,1,,",
    ])
    before = s.read_bytes()
    s.start(fake_clock("2030-01-01 23:58:30"))  # midnight 9 real seconds later
    s.check("the old day's record fires", s.popups(1, 15))
    s.check("both records of the new day fire", len(s.popups(3, 40)) == 3)
    rows = s.drive.rows()
    s.expect("the new day's list, both marked", [(r[1], r[11]) for r in rows],
             [("二号楼梁", "到期"), ("三号楼板", "到期"), ("", "")])
    s.expect("the old pop-up keeps its slot, the new ones take the next",
             [(n, e.get("工程部位")) for n, e in s.slots() if e.get("是否显示") == "1"],
             [("1|1", "一号楼柱"), ("1|2", "二号楼梁"), ("1|3", "三号楼板")])
    s.check("every pop-up came on time", not any(
        line.startswith("补发") for lines in s.drive.read_texts("数据提示") for line in lines))
    s.kill()
    s.check("a.bz is byte for byte unchanged", s.read_bytes() == before)

    s.fresh_folder("days off")
    s.write_data([
        "周六柱,C30,PB-011,2029-12-28 08:00,1,2029-12-29 08:00,标准养护,2,1,,",
        "周日梁,C30,PB-012,2029-12-29 10:00,1,2029-12-30 10:00,标准养护,2,1,,",
        "周一板,C30,PB-013,2029-12-30 14:00,1,2029-12-31 14:00,标准养护,2,1,,",
        "周二墙,C30,PB-014,2029-12-31 08:00,1,2030-01-01 08:00,标准养护,2,1,,",
        "周二柱,C30,PB-015,2029-12-31 23:00,1,2030-01-01 23:00,标准养护,2,1,,"])
    s.start(fake_clock("2029-12-29 09:00:00"))  # the last day the program runs
    s.check("the last day's record fires", s.popups(1, 15))
    scanned = lambda: [l for l in s.read_lines("announced.txt") or [] if l.startswith("已检查至")]  # noqa
    s.check("the last scan is kept", wait_until(scanned, 10), s.read_lines("announced.txt"))
    s.kill()
    s.start(fake_clock("2030-01-01 09:00:00"))  # three days later
    s.check("today's late record and the two of the days off fire", len(s.popups(3, 30)) == 3)
    s.expect("late, with their dates", sorted(
        n for t in s.drive.read_texts("数据提示") for n in t if n.startswith("补发")),
        ["补发：原定 08:00 到期", "补发：原定 12-30 10:00 到期", "补发：原定 12-31 14:00 到期"])
    s.expect("the days off's rows after today's, all marked", wait_until(
        lambda: [(r[1], r[11]) for r in s.drive.rows()][:4]), [
        ("周二墙", "到期"), ("周二柱", ""), ("周日梁", "到期"), ("周一板", "到期")])
    s.kill()
    s.start(fake_clock("2030-01-01 09:30:00"))
    s.expect("restarted: today's marks back, the days off done", wait_until(
        lambda: [(r[1], r[11]) for r in s.drive.rows()] == [
            ("周二墙", "到期"), ("周二柱", ""), ("", "")] and [
            (r[1], r[11]) for r in s.drive.rows()], 10), [("周二墙", "到期"), ("周二柱", ""), ("", "")])
    time.sleep(2)  # four scans
    s.check("and nothing fires again", not s.popups())
    s.kill()

    s.fresh_folder("crowded")
    due = ["10:00"] * 15 + ["10:03", "10:03"]
    s.write_data([f"{n}号柱,C30,PB-{n:03},2029-12-31 {t},1,2030-01-01 {t},标准养护,1,1,,"
                  for n, t in enumerate(due, 1)])
    s.start(fake_clock("2030-01-01 09:59:00"))
    s.check("15 records due in one minute: 15 pop-ups", len(s.popups(15, 40)) == 15)
    main = s.main_window()
    s.focus(main)  # the user works in the main window
    s.check("no notice while every record has its place",
            not s.windows("^错误提示$") and f"{s.program_time():%H:%M}" < "10:03")
    notice = wait_until(lambda: list(s.windows("^错误提示$")), 30)
    s.check("at 10:03 a notice that no place is free", notice)
    s.expect("the main window keeps the keyboard focus", s.x.get_input_focus().focus.id, main)
    s.keys("Return", "Escape", "space")
    time.sleep(0.5)
    s.expect("keys typed do not close the notice", list(s.windows("^错误提示$")), notice)
    s.close([w for w in s.popups() if s.geometry(w)[:2] == (1024 - 324, 768 - 173)][0])
    s.check("closing the pop-up of slot 1|1 lets the 16th record take its place", wait_until(
        lambda: len(s.popups()) == 15 and dict(s.slots()).get("1|1", {}).get("工程部位") == "16号柱"))
    s.expect("still one notice", len(s.windows("^错误提示$")), 1)
    s.expect("the 17th record waits", marks()[15:], ["到期", "", ""])
