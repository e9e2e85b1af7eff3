"""Reminders whose minute passed unseen. The program's clock (libfaketime, ten times as fast) starts
at 09:02:30; the process is stopped with SIGSTOP before the 09:05 record falls due and continued
after 09:06: the record is announced at once, its pop-up saying it comes late. Then the program
is killed with the pop-up open and started again: the row gets back its 到期 mark without a new
pop-up, and no slot is left busy. a.bz is left byte for byte as it was and ts.ini keeps its
table."""
import signal
import time

from e2e import Session, fake_clock, wait_until

with Session() as s:
    s.write_data([
        "一号楼柱,C30,PB-001,2029-12-31 09:05,1,2030-01-01 09:05,标准养护,36,2,,",
        "二号楼梁,C35,PB-002,2029-12-31 09:30,1,2030-01-01 09:30,标准养护,12,1,,",
    ])
    before = s.read_bytes()
    s.drive  # the accessibility bus
    started = time.time()
    s.start(fake_clock("2030-01-01 09:02:30"))
    s.expect("both records listed", [r[1] for r in s.drive.read_grid()["rows"]],
             ["一号楼柱", "二号楼梁", ""])
    s.check("nothing fires before 09:05", not s.popups())

    s.kill(signal.SIGSTOP)
    time.sleep(max(0.0, started + 24 - time.time()))  # to 09:06:30 on the program's clock
    s.kill(signal.SIGCONT)
    s.check("the record fires after SIGCONT", s.wait_for_popups(1, 10))
    texts = s.popup_texts()
    s.expect("its pop-up says it comes late", [t[1] for t in texts], ["补发：原定 09:05 到期"])
    s.expect("its row is marked", [r[11] for r in s.drive.read_grid()["rows"]], ["到期", "", ""])
    s.expect("it holds slot 1|1", s.busy_slots(), ["1|1"])
    table = [name for name, _ in s.slots()]

    s.kill()  # SIGKILL, with the pop-up open
    s.expect("the killed program left its slot busy", s.busy_slots(), ["1|1"])
    s.start(fake_clock("2030-01-01 09:10:00"))
    s.expect("after the restart the row is marked again",
             [r[11] for r in s.drive.read_grid()["rows"]], ["到期", "", ""])
    s.check("no slot is left busy", wait_until(lambda: s.busy_slots() == [], 5), s.busy_slots())
    time.sleep(2)  # 20 s on the program's clock: four scan ticks
    s.check("and no pop-up comes again", not s.popups())
    s.expect("ts.ini keeps its table", [name for name, _ in s.slots()], table)

    s.kill()
    s.check("a.bz is byte for byte unchanged", s.read_bytes() == before)
