"""The main window at start-up: exactly today's records in file order, numbered from 1, one empty
unnumbered row after them, the loading caption followed by the clock, readable through the
accessibility bus, and a.bz left byte for byte as it was."""
import datetime
import re
import subprocess
import time

from e2e import Session

today = datetime.date.today()
day = today.isoformat()
yesterday = (today - datetime.timedelta(days=1)).isoformat()
tomorrow = (today + datetime.timedelta(days=1)).isoformat()

with Session() as s:
    s.write_data([
        f"一号楼柱,C30,PB-001,{yesterday} 00:00,1,{day} 00:00,标准养护,36,2,,",
        f"二号楼梁,C35,PB-002,{yesterday} 08:00,28,{yesterday} 08:00,标准养护,12,1,,",
        f"三号楼板,C40,PB-003,{day} 09:00,1,{tomorrow} 09:00,同级养护,8,1,,",
        "short,line",
        f"四号楼墙,C45,PB-004,{day} 09:00,7,{day} 23:59,同级养护,20,3,<b>加急</b>,",
        "",
        f"五号楼柱,C50,PB-005,{day} 09:00,7,{day} 12:00,标准养护,5,1,备注,到期,",
        ",,,,,,,,,,",
    ], tail=b"\r\n\x00\x01\xff\xfe,junk\r\n\xb5,C30,x,y,z," + f"{day} 10:00".encode() +
       b",k,l,m,n,\xb5")
    before = s.read_bytes()
    s.drive  # the accessibility bus
    s.start()

    # The captions the window shows during its first three seconds.
    titles = set()
    for _ in range(30):
        for w in s.windows("."):
            out = subprocess.run(["xdotool", "getwindowname", w], capture_output=True,
                                 text=True, env=s.env).stdout.strip()
            titles.add(out)
        time.sleep(0.1)
    s.check("the loading caption is shown first", "正在获取正确的版本信息。" in titles)
    s.check("then the clock caption", any(
        re.fullmatch(r"Mirosta V2\.2  \d{4}-\d\d-\d\d \d\d:\d\d:\d\d", t) for t in titles))

    grid = s.drive.read_grid()
    s.expect("headings", grid["headers"][:11],
             ["工程部位", "强度等级(C)", "配合比编号", "制作日期", "龄期（D）", "到期时间",
              "养护方式", "工程量", "组数", "备注", "是否到期"])
    rows = grid["rows"]
    s.expect("row numbers", [r[0] for r in rows], ["1", "2", "3", "4", ""])
    s.expect("project parts in file order", [r[1] for r in rows],
             ["一号楼柱", "四号楼墙", "五号楼柱", "\ufffd", ""])
    s.expect("due times", [r[6] for r in rows],
             [day + " 00:00", day + " 23:59", day + " 12:00", day + " 10:00", ""])
    s.expect("a remark is shown as plain text", rows[1][10], "<b>加急</b>")
    # Rows whose minute has passed are announced at start-up and marked; the twelve-field line
    # is marked by its own due mark.
    minute = time.strftime("%Y-%m-%d %H:%M")
    s.expect("a twelve-field line shows its due mark, passed minutes are announced",
             [r[11] for r in rows],
             ["到期" if r[6] and (r[6] <= minute or r[1] == "五号楼柱") else "" for r in rows])
    s.expect("the last row is empty", rows[-1], [""] * len(rows[-1]))

    s.kill()
    s.check("a.bz is byte for byte unchanged", s.read_bytes() == before)
