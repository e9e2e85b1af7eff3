"""试验计划 from the menu: the week ahead read over the accessibility bus (overdue first, then by
date with the day's batches and groups), then 更新到期时间 answered with 是 rewrites only the age
and due time of the same-condition records, and today's list follows without a restart. The
program runs on a fixed date through libfaketime."""
from e2e import Session, wait_until

NOW = "2024-03-10 10:00:00"  # a Sunday
FAKETIME_LIBRARY = "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1"

lines = [
    "近期梁,C30,PB-1,2024-3-4 10:00,7,2024-03-11 10:00,标准养护,8,2,,",
    "过期板,C30,PB-2,2024-3-1 10:00,7,2024-03-08 10:00,标准养护,8,1,,",
    "同条件柱,C35,PB-3,2024-2-9 15:00,32,2024-03-12 15:00,同级养护,12,3,,",
    "短行,C30,PB-4,2024-3-1 09:05,28,2024-03-29 09:05,同条件养护,36",
    "远期墙,C40,PB-5,2024-3-1 09:05,28,2024-03-29 09:05,标准养护,36,2,,",
    ",,,,,,,,,,",
]
tail = b"\r\n\xff\xfe,not GBK"
log = ["日期,日平均气温"] + [f"2024-{m:02d}-{d:02d},20" for m, days in ((1, 31), (2, 29), (3, 9))
                              for d in range(1, days + 1)]


def table_rows(drive, window, name):
    """The cell texts of the table with that accessible name in the window."""
    top = drive.wait_for(lambda n: n.name == window and drive.showing(n)
                         and n.getRoleName() != "menu item", window)
    node = drive.find(top, lambda n: drive.is_table(n) and n.name == name)
    table = node.queryTable()
    return [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)]
            for r in range(table.nRows)]


with Session() as s:
    s.write_data(lines, tail=tail)
    with open(s.path("qw.csv"), "wb") as f:
        f.write(("\r\n".join(log) + "\r\n").encode("gbk"))
    before = s.read_bytes()
    drive = s.drive
    # libfaketime loaded into the program itself: the faketime command would stand between this
    # script and the program, and stopping it would leave the program running.
    s.start(extra_env={"LD_PRELOAD": FAKETIME_LIBRARY, "FAKETIME": "@" + NOW})
    drive.wait_for(lambda n: n.getRoleName() == "frame" and n.name.startswith("Mirosta V2.2"),
                   "main window")

    drive.menu("试验计划")
    rows = wait_until(lambda: table_rows(drive, "试验计划", "近期到期的记录"), 15)
    s.expect("the week ahead: overdue first, then each date with its batches and groups",
             [r[0] for r in rows],
             ["已过期未删除　共 1 批，1 组", "2024-03-08 10:00",
              "2024-03-11 星期一　共 1 批，2 组", "2024-03-11 10:00",
              "2024-03-12 星期二　共 1 批，3 组", "2024-03-12 15:00"])
    s.expect("project parts beside their due times", [r[1] for r in rows],
             ["", "过期板", "", "近期梁", "", "同条件柱"])

    drive.act(drive.wait_for(lambda n: n.getRoleName() == "page tab" and n.name == "同条件养护",
                             "tab 同条件养护"))
    projected = wait_until(lambda: table_rows(drive, "试验计划", "同条件养护记录"), 15)
    s.expect("projected due times", [r[6] for r in projected],
             ["2024-03-10 15:00", "2024-03-31 09:05"])

    s.drive_in_background("press", "更新到期时间")
    drive.press("是")
    s.check("a.bz is rewritten", wait_until(lambda: s.read_bytes() != before, 15))
    want = list(lines)
    want[2] = want[2].replace(",32,2024-03-12 15:00,", ",30,2024-03-10 15:00,")
    want[3] = want[3].replace(",28,2024-03-29 09:05,", ",30,2024-03-31 09:05,")
    s.check("only age and due time of the same-condition records changed",
            s.read_bytes() == "\r\n".join(want).encode("gbk") + tail)

    grid = wait_until(lambda: [r[1] for r in drive.read_grid("Mirosta")["rows"]]
                      == ["同条件柱", ""] and drive.read_grid("Mirosta"), 10)
    s.check("today's list shows the record now due today", bool(grid))
    s.kill()
