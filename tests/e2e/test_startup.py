"""Start-up, on a fixed date (libfaketime). Damaged a.bz and ts.ini files of many kinds beside a
record announced at once: no crash, no hang (the clock keeps ticking in the caption), a.bz as it
was. Today's list over the accessibility bus: today's records in file order, numbered from 1, an
empty unnumbered row after them, the loading caption then the clock, a.bz unchanged. A million
records: today's 50 listed, the editor loads them all, 添加 appends one, every byte right."""
import os
import random
import re
import stat

from e2e import CAPTION, Session, fake_clock, wait_until

CLOCK = fake_clock("2030-01-01 11:00:00", speed=1)
DUE = "到期记录,C30,PB-1,2030-01-01 00:00,1,2030-01-01 10:00,标准养护,1,1,,".encode("gbk")
KEYS = "是否显示 编号 工程部位 强度等级 配合比编号 制作日期 龄期 养护方式 到期时间 工程量 组数 备注"
INI = "".join(f"[{g}|{p}]\r\n" + "".join(f"{k}=0\r\n" for k in KEYS.split())
              for g in range(1, 6) for p in range(1, 4)).encode("gbk")  # as made for the screen
JUNK = random.Random(7).randbytes(65536)
DIR, FIFO = "a folder", "a named pipe"
DAMAGED = {  # name: (a.bz, ts.ini or None)
    "many-fields": (b"," * 100000 + b"\r\n" + DUE, None),
    "megabyte-line": (b"x" * 1048576 + b"\r\n" + DUE, None),
    "binary-junk": (JUNK + b"\r\n" + DUE, None),
    "directory": (DIR, None),
    "fifo": (FIFO, None),
    "no-permission": (DUE, None),
    "ini-header-in-value": (DUE, INI + "备注=[1|1]\r\n".encode("gbk")),
    "ini-binary-junk": (DUE, JUNK),
    "ini-not-slots": (DUE, b"[abc]\r\n[0|1]\r\n[01|1]\r\n[1|]\r\n[[[[\r\n=\r\n"),
    "ini-directory": (DUE, DIR),
    "ini-huge": (DUE, INI + b"y" * 2000000),
}


def state(path):  # the kind of file, and its bytes where they can be read
    mode = os.stat(path).st_mode
    readable = stat.S_ISREG(mode) and os.access(path, os.R_OK)
    return stat.S_IFMT(mode), readable and open(path, "rb").read()


with Session() as s:
    programs = {}
    for name, files in DAMAGED.items():
        s.fresh_folder(name)
        for file, content in zip(("a.bz", "ts.ini"), files):
            if content in (DIR, FIFO):
                (os.mkdir if content == DIR else os.mkfifo)(s.path(file))
            elif content is not None:
                open(s.path(file), "wb").write(content)
        if name == "no-permission":
            os.chmod(s.path("a.bz"), 0)
        programs[name] = (s.start(CLOCK).pid, s.path("a.bz"), state(s.path("a.bz")))

    clocks = lambda: {pid: caption for caption, pid in s.windows(CAPTION).values()}  # noqa: E731
    later = "Mirosta V2.2  2030-01-01 11:00:07"  # past the scan at start-up and the next one
    wait_until(lambda: all(clocks().get(pid, "") >= later for pid, _, _ in programs.values()), 60)
    last = clocks()
    for name, (pid, path, before) in programs.items():
        s.check(f"{name}: the clock caption ticks on", last.get(pid, "") >= later, last.get(pid))
        s.check(f"{name}: a.bz as it was", state(path) == before)
        os.kill(pid, 9)

    s.fresh_folder("today")
    s.write_data([
        "一号楼柱,C30,PB-001,2029-12-31 00:00,1,2030-01-01 00:00,标准养护,36,2,,",
        "二号楼梁,C35,PB-002,2029-12-03 08:00,28,2029-12-31 08:00,标准养护,12,1,,",
        "三号楼板,C40,PB-003,2030-01-01 09:00,1,2030-01-02 09:00,同级养护,8,1,,",
        "short,line",
        "四号楼墙,C45,PB-004,2030-01-01 09:00,7,2030-01-01 23:59,同级养护,20,3,<b>加急</b>,",
        "",
        "五号楼柱,C50,PB-005,2030-01-01 09:00,7,2030-01-01 12:00,标准养护,5,1,备注,到期,",
        ",,,,,,,,,,",
    ], tail=b"\r\n\x00\x01\xff\xfe,junk\r\n\xb5,C30,x,y,z,2030-01-01 10:00,k,l,m,n,\xb5")
    before = s.read_bytes()
    s.start_accessibility_bus()
    s.start(CLOCK)
    captions = []  # the main window's captions in the order they show

    def clock_shown():
        captions.extend(c for c, _ in s.windows("^(正在获取|Mirosta V2)").values() if c not in captions)
        return any(re.match(CAPTION, c) for c in captions)
    wait_until(clock_shown, 30, step=0.05)
    s.check("the loading caption, then the clock", captions[:1] == ["正在获取正确的版本信息。"]
            and re.match(CAPTION, (captions + [""])[1]), captions)
    rows = s.drive.rows()
    s.expect("today's records in file order, numbered from 1, then an empty row",
             [(r[0], r[1], r[6]) for r in rows],
             [("1", "一号楼柱", "2030-01-01 00:00"), ("2", "四号楼墙", "2030-01-01 23:59"),
              ("3", "五号楼柱", "2030-01-01 12:00"), ("4", "\ufffd", "2030-01-01 10:00"),
              ("", "", "")])
    s.expect("a remark is shown as plain text", rows[1][10], "<b>加急</b>")
    s.expect("passed minutes are announced at once; a twelve-field line shows its due mark",
             [r[11] for r in rows], ["到期", "", "到期", "到期", ""])
    s.kill()
    s.check("a.bz is byte for byte unchanged", s.read_bytes() == before)

    s.fresh_folder("million")  # one record in 20,000 due today, the others in the past
    parts = ["地下室底板".encode("gbk") + b"%d" % i for i in range(1_000_000)]
    million = b"\r\n".join(b"%s,C30,PB-%03d,2024-3-7 09:05,28,%s 09:05,%s,36,2,," % (
        part, i % 1000, b"2029-12-31" if i % 20_000 else b"2030-01-01", "标准养护".encode("gbk"))
        for i, part in enumerate(parts)) + b"\r\n" + b"," * 10
    with open(s.path("a.bz"), "wb") as f:
        f.write(million)
    s.start(CLOCK)
    rows = wait_until(lambda: s.drive.rows()[:-1], 60)
    s.expect("a million records: today's 50 listed in file order, numbered from 1",
             [(r[0], r[1].encode("gbk")) for r in rows],
             [(str(n + 1), parts[n * 20_000]) for n in range(50)])
    s.in_background("menu", "插入数据")
    editor_rows = lambda: s.drive.table("增添提醒数据").nRows  # noqa: E731
    s.check("the editor shows every record", wait_until(lambda: editor_rows() == 1_000_001, 120),
            f"{editor_rows()} rows")
    for field, text in (("工程部位", "百万记录"), ("配合比编号", "PB-E2E"),
                        ("制作时间（小时）", "08"), ("制作时间（分钟）", "30"), ("龄期（D）", "28"),
                        ("到期时间", "2030-01-29 08:30"), ("工程量", "36"), ("组数", "2")):
        s.drive.set_text(field, text)
    s.drive.press("添加")
    added = "百万记录,C30,PB-E2E,2030-1-1 08:30,28,2030-01-29 08:30,标准养护,36,2,,".encode("gbk")
    s.check("a.bz then holds the 1,000,001 records as they were, the new one last, ten commas",
            wait_until(lambda: s.read_bytes() == million[:-10] + added + b"\r\n" + b"," * 10, 30,
                       step=0.5))
