"""A record added in the editor joins today's list at once. Nothing is due today when the program
starts (its clock runs ten times as fast from 09:00 through libfaketime), so the scan is stopped;
the editor's note no longer asks for a restart; a record due two minutes ahead on the program's
clock is added and the editor closed; without 读取数据 the record shows in the main window and
fires on time, in its minute."""
import datetime
import re
import subprocess

from e2e import Session, fake_clock, wait_until

EDITOR = "增添提醒数据   右侧显示全部龄期信息。 "


def program_time(s):
    """The program's clock, read from the main window's caption."""
    for w in s.windows(r"^Mirosta V2\.2  "):
        name = subprocess.run(["xdotool", "getwindowname", w], capture_output=True, text=True,
                              env=s.env).stdout
        m = re.search(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", name)
        if m:
            return datetime.datetime.strptime(m.group(0), "%Y-%m-%d %H:%M:%S")
    return None


with Session() as s:
    s.write_data(["明日楼板,C40,PB-009,2030-01-01 08:00,1,2030-01-02 08:00,标准养护,8,1,,"])
    s.drive  # the accessibility bus
    s.start(fake_clock("2030-01-01 09:00:00"))
    s.expect("nothing due today", [r[1] for r in s.drive.read_grid()["rows"]], [""])

    s.drive_in_background("menu", "插入数据")
    s.drive.set_text("工程部位", "新加柱")
    s.drive.set_text("配合比编号", "PB-NEW")
    texts = (s.drive.read_texts(EDITOR) or [[]])[0]
    s.check("the editor's note is true", "添加后立即生效，无需重启本软件。" in texts, texts)
    now = wait_until(lambda: program_time(s), 10)
    at = now.replace(second=0) + datetime.timedelta(minutes=2)
    due = at.strftime("%Y-%m-%d %H:%M")
    # Cast a day earlier at that minute with an age of one day, so "?" computes the same due time.
    cast = at - datetime.timedelta(days=1)
    s.drive.set_text("制作日期", cast.strftime("%Y-%m-%d"))
    s.drive.set_text("制作时间（小时）", cast.strftime("%H"))
    s.drive.set_text("制作时间（分钟）", cast.strftime("%M"))
    s.drive.set_text("龄期（D）", "1")
    s.drive.set_text("到期时间", due)
    s.drive.press("添加")
    s.drive.press("关闭")

    s.check("the record shows in today's list without 读取数据", wait_until(
        lambda: [r[6] for r in s.drive.read_grid()["rows"]] == [due, ""], 5))
    s.check("it fires", s.wait_for_popups(1, 30))
    texts = s.popup_texts()
    s.expect("on time, in its minute", [t[1:4] for t in texts],
             [["编号:1", "强度等级:C30", "工程部位:新加柱"]])
    s.expect("its row is marked", [r[11] for r in s.drive.read_grid()["rows"]], ["到期", ""])
    lines = s.read_lines()
    s.check("a.bz holds the new record", lines and lines[1].startswith("新加柱,C30,PB-NEW,") and
            f",{due}," in lines[1], lines)
