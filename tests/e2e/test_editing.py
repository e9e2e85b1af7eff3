"""Records entered and changed in the running program, its clock set by libfaketime. Keyboard
only: Ctrl+N, the fields typed, Enter in the age computes the due time, Enter adds the record, a
changed age is asked about, Enter (是) recomputes the due time, Esc closes the editor. The whole
road: 插入数据 adds a record due two minutes ahead, twice; without a reload both join today's list
and fire in their minute; closing a pop-up frees its slot; 退出 with a pop-up open leaves no slot
busy. 试验计划: the week ahead read over the accessibility bus;
更新到期时间 with 是 rewrites only the same-condition records, and today's list follows. A record's
age corrected in the editor: today's list and a pop-up follow, and 撤销 takes it back. Backups:
数据初始化 names the copy it made, and 恢复备份… brings it back byte for byte, today's list with it."""
import datetime
import os

from e2e import Session, fake_clock, wait_until

TOMORROW = "明日楼板,C40,PB-009,2030-01-01 08:00,1,2030-01-02 08:00,标准养护,8,1,,"
TYPED = ["A1,C30,PB-01,2030-1-5 09:05,28,2030-02-02 09:05,标准养护,36,2,,",
         "A1,C30,PB-01,2030-1-5 09:05,7,2030-01-12 09:05,标准养护,36,2,,"]
EMPTY = "," * 10
CORRECTED = ["改龄期柱,C30,PB-7,2030-1-3 09:02,8,2030-01-11 09:02,标准养护,6,2,,",
             "改龄期柱,C30,PB-7,2030-1-3 09:02,7,2030-01-10 09:02,标准养护,6,2,,"]
PLANNED = [
    "近期梁,C30,PB-1,2024-3-4 10:00,7,2024-03-11 10:00,标准养护,8,2,,",
    "过期板,C30,PB-2,2024-3-1 10:00,7,2024-03-08 10:00,标准养护,8,1,,",
    "同条件柱,C35,PB-3,2024-2-9 15:00,32,2024-03-12 15:00,同级养护,12,3,,",
    "短行,C30,PB-4,2024-3-1 09:05,28,2024-03-29 09:05,同条件养护,36",
    "远期墙,C40,PB-5,2024-3-1 09:05,28,2024-03-29 09:05,标准养护,36,2,,",
    ",,,,,,,,,,",
]
PLANNED_TAIL = b"\r\n\xff\xfe,not GBK"
LOG = "日期,日平均气温\r\n" + "".join(f"{datetime.date(2024, 1, 1) + datetime.timedelta(d)},20\r\n"
                                 for d in range(69))  # up to the day before

with Session() as s:
    s.write_data([TOMORROW])
    s.start_accessibility_bus()
    s.start(fake_clock("2030-01-01 09:00:00", speed=5))
    s.expect("nothing is due today", [r[1] for r in s.drive.rows()], [""])

    def shown(caption, shown=True):
        return wait_until(lambda: bool(s.windows(caption)) == shown, 10)
    s.focus(s.main_window())
    s.keys("ctrl+n")
    s.check("Ctrl+N opens the editor", shown("^增添提醒数据"))
    # Text1, Combo2 (kept), Text3, Combo1 (kept), Text8, Text9, the date, hour, minute, age.
    # Enter in the age with no due time yet: "?"; Enter again: 添加.
    s.type("A1\t\tPB-01\t\t36\t2\t2030-1-5\t09\t05\t28")
    s.keys("Return", "Return")
    s.check("Enter computes the due time, Enter again saves the record",
            wait_until(lambda: s.read_lines() == [TOMORROW, TYPED[0], EMPTY], 5), s.read_lines())
    s.keys("ctrl+a")
    s.type("7")
    s.keys("Return")
    s.check("the stale due time is asked about", shown("^提示$"))
    s.keys("Return")  # 是, the default: recompute and add
    s.check("Enter recomputes it and saves the record", wait_until(
        lambda: s.read_lines() == [TOMORROW, TYPED[0], TYPED[1], EMPTY], 5), s.read_lines())
    shown("^提示$", shown=False)
    s.focus(list(s.windows("^增添提醒数据"))[0])
    s.keys("Escape")
    s.check("Esc closes the editor", shown("^增添提醒数据", shown=False))

    s.in_background("menu", "插入数据")
    # Due two minutes ahead; cast a day before at that minute, aged one day: "?" agrees.
    at = s.program_time().replace(second=0) + datetime.timedelta(minutes=2)
    cast, due = at - datetime.timedelta(days=1), f"{at:%Y-%m-%d %H:%M}"
    for field, text in (("工程部位", "整条路试块"), ("配合比编号", "PB-E2E"),
                        ("制作日期", f"{cast:%Y-%m-%d}"), ("制作时间（小时）", f"{cast:%H}"),
                        ("制作时间（分钟）", f"{cast:%M}"), ("龄期（D）", "1"), ("到期时间", due)):
        s.drive.set_text(field, text)
    new = f"整条路试块,C30,PB-E2E,{cast.year}-{cast.month}-{cast.day} {cast:%H:%M},1,{due},标准养护,,,,"
    for button, count in (("添加", 1), ("添加", 1), ("是", 2)):  # 是: the same record again
        s.drive.press(button)
        wait_until(lambda: s.read_lines().count(new) == count, 5)
    s.expect("添加 twice: a.bz holds the record twice", s.read_lines(),
             [TOMORROW, *TYPED, new, new, EMPTY])
    s.drive.press("关闭")
    s.check("without a reload both join today's list", wait_until(
        lambda: [r[6] for r in s.drive.rows()] == [due, due, ""]))

    popups = s.popups(2, 60)
    s.check("both fire", len(popups) == 2)
    s.expect("in their minute", sorted([n for n in t if n.split(":")[0] in (
        "编号", "强度等级", "工程部位")] for t in s.drive.read_texts("数据提示")),
             [[f"编号:{n}", "强度等级:C30", "工程部位:整条路试块"] for n in (1, 2)])
    s.expect("slots 1|1 and 1|2 are busy", wait_until(lambda: s.busy_slots(), 5), ["1|1", "1|2"])
    s.expect("both rows are marked", [r[11] for r in s.drive.rows()],
             ["到期", "到期", ""])
    s.close(max(popups, key=lambda w: s.geometry(w)[1]))  # the lower one, slot 1|1
    s.check("closing a pop-up frees its slot", wait_until(lambda: s.busy_slots() == ["1|2"], 5),
            s.busy_slots())
    s.in_background("menu", "退出")
    s.check("退出 ends the program", wait_until(lambda: s.program.poll() is not None, 15))
    s.expect("no slot is left busy", s.busy_slots(), [])

    s.fresh_folder("planning")
    s.write_data(PLANNED, tail=PLANNED_TAIL)
    open(s.path("qw.csv"), "wb").write(LOG.encode("gbk"))
    s.start(fake_clock("2024-03-10 10:00:00", speed=1))  # a Sunday
    s.in_background("menu", "试验计划")
    rows = lambda name: wait_until(lambda: s.drive.rows("试验计划", name))  # noqa
    s.expect("the week ahead: overdue first, then each date with its batches and groups",
             [r[1:3] for r in rows("近期到期的记录")],
             [["已过期未删除　共 1 批，1 组", ""], ["2024-03-08 10:00", "过期板"],
              ["2024-03-11 星期一　共 1 批，2 组", ""], ["2024-03-11 10:00", "近期梁"],
              ["2024-03-12 星期二　共 1 批，3 组", ""], ["2024-03-12 15:00", "同条件柱"]])
    s.drive.press("同条件养护", role="page tab")
    s.expect("the same-condition records' projected due times", [r[5] for r in rows("同条件养护记录")],
             ["2024-03-10 15:00", "2024-03-31 09:05"])

    s.in_background("press", "更新到期时间")
    s.drive.press("是")
    want = "\r\n".join(PLANNED).replace(",32,2024-03-12 15:00,", ",30,2024-03-10 15:00,").replace(
        ",28,2024-03-29 09:05,同", ",30,2024-03-31 09:05,同").encode("gbk") + PLANNED_TAIL
    s.check("更新到期时间 rewrites only the age and due time of the same-condition records",
            wait_until(lambda: s.read_bytes() == want), s.read_bytes())
    s.check("today's list shows the record now due today", wait_until(
        lambda: [r[1] for r in s.drive.rows("Mirosta")] == ["同条件柱", ""]))

    # A record's age corrected in the editor: due today two minutes ahead instead of tomorrow, it
    # joins today's list and fires in its minute; 撤销 takes the change back out of a.bz and the list.
    s.kill()  # one program on the bus at a time
    s.fresh_folder("correcting")
    s.write_data([CORRECTED[0], EMPTY])
    s.start(fake_clock("2030-01-10 09:00:00", speed=4))
    s.in_background("menu", "插入数据")
    s.drive.table("增添提醒数据", "全部记录").addRowSelection(0)
    s.drive.press("修改")
    editor = "增添提醒数据   右侧显示全部龄期信息。 "
    s.check("修改 loads the record and says it is being changed", wait_until(lambda: any(
        t.startswith("正在修改右侧第 1 条记录") for t in sum(s.drive.read_texts(editor), []))))
    s.drive.set_text("龄期（D）", "7")
    s.in_background("press", "保存修改")
    s.drive.press("是")  # the due time computed for the new age
    s.check("保存修改 rewrites the record's line", wait_until(
        lambda: s.read_lines() == [CORRECTED[1], EMPTY], 10), s.read_lines())
    s.check("today's list follows at once", wait_until(
        lambda: [r[6] for r in s.drive.rows()] == ["2030-01-10 09:02", ""]))
    s.check("and the record fires in its minute", len(s.popups(1, 60)) == 1)
    s.drive.press("撤销")
    s.check("撤销 gives a.bz back", wait_until(lambda: s.read_lines() == [CORRECTED[0], EMPTY], 10),
            s.read_lines())
    s.check("and the record leaves today's list", wait_until(
        lambda: [r[1] for r in s.drive.rows()] == [""]))

    s.kill()
    s.fresh_folder("backup")  # GBK, Latin-1 signs, lone line ends and bytes that are not GBK
    s.write_data(["楼板,C30,PB-1,2029-12-31 08:00,1,2030-01-01 08:00,标准养护,3×4,2,20°C±2,",
                  "墙,C35,PB-2,2029-12-31 09:00,1,2030-01-02 09:00,同级养护,1,1,,"],
                 tail=b"\n\xff\xfe,not GBK\r" + b"," * 10)
    original = s.read_bytes()
    s.start(fake_clock("2030-01-01 10:00:00", speed=1))
    s.check("today's list before", wait_until(lambda: [r[1] for r in s.drive.rows()] == ["楼板", ""]))
    def answer(text, button):  # in the box that says the text, once it is up
        def box():
            return next((top for top in s.drive.app() if top is not None and top.name == "提示"
                         and s.drive.find(top, lambda n: text in (n.name or ""))), None)
        s.drive.act(s.drive.find(wait_until(box, 10), lambda n: n.getRoleName() == "push button"
                                 and n.name == button))
    s.in_background("menu", "数据初始化")
    question = " ".join(wait_until(lambda: s.drive.read_texts("提示"), 10)[0])
    copies = lambda: sorted(os.listdir(s.path("backup")))  # noqa: E731
    s.check("数据初始化 names the copy it has just made", copies()[0] in question, question)
    answer("数据初始化将删除", "是")
    s.check("数据初始化 empties a.bz", wait_until(lambda: s.read_bytes() == b"", 10))
    answer("初始化完成。", "确定")
    s.check("the copy holds a.bz byte for byte", s.read_bytes(f"backup/{copies()[0]}") == original)
    s.check("today's list follows", wait_until(lambda: [r[1] for r in s.drive.rows()] == [""]))
    s.in_background("menu", "恢复备份…")
    s.drive.press("恢复")  # the newest copy, selected
    answer("是否恢复？", "是")
    s.check("恢复备份… brings a.bz back byte for byte",
            wait_until(lambda: s.read_bytes() == original, 10), s.read_bytes())
    answer("已恢复", "确定")
    s.expect("the emptied file was backed up first", [s.read_bytes(f"backup/{c}") for c in copies()],
             [original, b""])
    s.check("today's list follows again",
            wait_until(lambda: [r[1] for r in s.drive.rows()] == ["楼板", ""]))
