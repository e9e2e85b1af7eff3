"""A crowded screen of 1024 x 768 pixels with 15 slots (3 positions in each of 5 groups). The
program's clock starts at 10:00 (libfaketime, ten times as fast), when 15 records are overdue:
15 pop-ups open at once, the groups side by side from the right edge (groups 4 and 5 held at the
left edge of the screen), each group stacking upwards. The user works in the main window. At
10:01 two more records fall due and no place is free: one 错误提示 notice says so, without taking
the keyboard focus, so the keys the user goes on typing do not close it. Closing a pop-up lets
the next record take its place, and still only one notice is on the screen."""
import subprocess
import time

from e2e import Session, fake_clock, wait_until

with Session() as s:
    due = [f"09:{39 + n}" for n in range(1, 16)] + ["10:01", "10:01"]
    s.write_data([f"{n}号柱,C30,PB-{n:03},2029-12-31 {t},1,2030-01-01 {t},标准养护,1,1,,"
                  for n, t in enumerate(due, 1)])
    s.drive  # the accessibility bus
    s.start(fake_clock("2030-01-01 10:00:00"))
    s.check("15 pop-ups open", s.wait_for_popups(15, 5))
    s.check("no notice yet", not s.windows("^错误提示$"))
    main = s.windows(r"^Mirosta V2\.2  ")[0]
    subprocess.run(["xdotool", "windowfocus", main], env=s.env)
    s.check("one notice that no place is free", wait_until(lambda: s.windows("^错误提示$"), 10))
    time.sleep(0.5)
    width, height = s.screen_size()
    boxes = sorted(s.geometry(w) for w in s.popups())
    s.expect("five columns from the right edge, held at the left edge",
             sorted({x for x, _, _, _ in boxes}), [0, width - 3 * 324, width - 2 * 324,
                                                   width - 324])
    s.expect("each group stacks upwards from the bottom",
             sorted({y for _, y, _, _ in boxes}), [height - 3 * 173, height - 2 * 173,
                                                   height - 173])

    notice = s.windows("^错误提示$")[0]
    focus = subprocess.run(["xdotool", "getwindowfocus"], capture_output=True, text=True,
                           env=s.env).stdout.strip()
    s.check("the main window keeps the keyboard focus", focus == main, f"{focus} {main}")
    subprocess.run(["xdotool", "key", "Return", "Escape", "space"], env=s.env)
    time.sleep(0.5)
    s.check("keys pressed do not close it", s.windows("^错误提示$") == [notice])

    # Close the pop-up in slot 1|1 (the bottom right one): the 16th record takes the place.
    corner = [w for w in s.popups() if s.geometry(w)[:2] == (width - 324, height - 173)]
    s.drive.close(corner[0])
    s.check("the next record takes the freed place", wait_until(
        lambda: len(s.popups()) == 15 and "1|1" in s.busy_slots() and
        "16号柱" in dict(s.slots())["1|1"].get("工程部位", ""), 15))
    s.expect("still one notice", len(s.windows("^错误提示$")), 1)
    s.expect("the 17th record waits", [r[11] for r in s.drive.read_grid()["rows"]][15:],
             ["到期", "", ""])
