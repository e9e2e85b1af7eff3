"""A program left running over midnight: its clock (libfaketime, ten times as fast) starts at
23:59:30, the old day's record fires at 23:59, and without a reload the new day's list replaces
the old one and both of its records fire in their minutes, on time, while the old pop-up stays
open in its slot. a.bz is left byte for byte as it was."""
from e2e import Session, fake_clock

with Session() as s:
    s.write_data([
        "一号楼柱,C30,PB-001,2029-12-31 23:59,1,2030-01-01 23:59,标准养护,36,2,,",
        "二号楼梁,C35,PB-002,2029-12-03 00:00,30,2030-01-02 00:00,标准养护,12,1,,",
        "三号楼板,C40,PB-003,2029-12-26 00:01,7,2030-01-02 00:01,同级养护,8,1,,",
    ])
    before = s.read_bytes()
    s.drive  # the accessibility bus
    s.start(fake_clock("2030-01-01 23:59:30"))

    s.check("the old day's record fires", s.wait_for_popups(1, 15))
    s.expect("before midnight the list holds the old day's record",
             [r[1] for r in s.drive.read_grid()["rows"]], ["一号楼柱", ""])
    # Midnight comes 3 real seconds after the start, 00:01 six seconds later.
    s.check("both records of the new day fire", s.wait_for_popups(3, 30))
    rows = s.drive.read_grid()["rows"]
    s.expect("the new day's list", [r[1] for r in rows], ["二号楼梁", "三号楼板", ""])
    s.expect("both marked", [r[11] for r in rows], ["到期", "到期", ""])
    s.expect("the old pop-up keeps its slot, the new ones take the next",
             s.busy_slots(), ["1|1", "1|2", "1|3"])
    texts = s.popup_texts()
    s.check("every pop-up came on time", texts and not any(
        line.startswith("补发") for lines in texts for line in lines), texts)
    s.kill()
    s.check("a.bz is byte for byte unchanged", s.read_bytes() == before)
