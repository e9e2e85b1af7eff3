"""An a.bz of a million records: the main window lists exactly today's 50, the editor reads every
record in the background, and 添加 writes them all back with the new one after them, byte for
byte."""
import datetime
import os
import time

from e2e import Session, wait_until

COUNT = 1_000_000
DUE_TODAY = 50
today = datetime.date.today()
day = today.isoformat()


def records():
    """The lines of a.bz (GBK bytes) and the project parts of the records due today."""
    part = "地下室底板".encode("gbk")
    method = "标准养护".encode("gbk")
    step = COUNT // DUE_TODAY
    past = [(today - datetime.timedelta(days=d)).isoformat().encode() for d in range(1, 400)]
    lines, due = [], []
    for i in range(COUNT):
        when = day.encode() if i % step == 0 else past[i % len(past)]
        lines.append(b"%s%d,C30,PB-%03d,2024-3-7 09:05,28,%s 09:05,%s,36,2,," %
                     (part, i, i % 1000, when, method))
        if i % step == 0:
            due.append(f"地下室底板{i}")
    return lines, due


with Session() as s:
    lines, due = records()
    before = b"\r\n".join(lines) + b"\r\n" + b"," * 10
    with open(s.path("a.bz"), "wb") as f:
        f.write(before)
    s.drive  # the accessibility bus
    s.start()

    rows = wait_until(lambda: len(s.drive.read_grid()["rows"]) == DUE_TODAY + 1 and
                      s.drive.read_grid()["rows"], 60)
    s.check("the main window lists today's records", rows, "the list did not appear")
    if rows:
        s.expect("today's 50, in file order", [r[1] for r in rows[:-1]], due)
        s.expect("numbered from 1", [r[0] for r in rows], [str(n) for n in range(1, 51)] + [""])

    s.drive_in_background("menu", "插入数据")

    def editor_rows():
        editor = s.drive.find(s.drive.app(), lambda n: n.getRoleName() in ("dialog", "frame")
                              and n.name.startswith("增添提醒数据") and s.drive.showing(n))
        table = editor and s.drive.find(editor, s.drive.is_table)
        return table.queryTable().nRows if table else 0

    started = time.time()
    s.check("the editor shows every record", wait_until(lambda: editor_rows() == COUNT + 1, 120),
            f"{editor_rows()} rows")
    print(f"editor loaded in about {time.time() - started:.1f} s")

    due_time = f"{(today + datetime.timedelta(days=28)).isoformat()} 08:30"
    for field, text in (("工程部位", "百万记录"), ("配合比编号", "PB-E2E"),
                        ("制作时间（小时）", "08"), ("制作时间（分钟）", "30"), ("龄期（D）", "28"),
                        ("到期时间", due_time), ("工程量", "36"), ("组数", "2")):
        s.drive.set_text(field, text)
    size = os.path.getsize(s.path("a.bz"))
    s.drive.press("添加")
    wait_until(lambda: os.path.getsize(s.path("a.bz")) != size, 30)

    added = (f"百万记录,C30,PB-E2E,{today.year}-{today.month}-{today.day} 08:30,28,{due_time},"
             "标准养护,36,2,,").encode("gbk")
    after = s.read_bytes()
    s.check("a.bz holds the records as they were, the new one, and the ten commas",
            after == before[:-10] + added + b"\r\n" + b"," * 10,
            f"{len(after)} bytes, ending {after[-200:]!r}")
    s.expect("1,000,001 records", after.count(b"\r\n"), COUNT + 1)
    s.kill()
