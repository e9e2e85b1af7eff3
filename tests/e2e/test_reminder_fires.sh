#!/usr/bin/env bash
# Two records due in the current minute, no ts.ini yet (a fresh install): within one scan period the
# program makes the slot table for the screen, puts the records into slots 1|1 and 1|2, marks them
# busy and opens two 数据提示 pop-ups at the bottom-right of the screen, the second one window
# height above the first; a.bz stays byte for byte as it was until 删除过期数据 removes their lines.
source "$(dirname "$0")/common.sh"

# Both records must still be due when the first scan tick comes (about 5 s after start).
wait_for_fresh_minute
today=$(date +%F)
minute=$(date '+%F %H:%M')
later=$(date -d '+2 minutes' '+%F %H:%M')
write_data_file <<DATA
一号楼柱,C30,PB-001,${today} 00:00,0,${minute},标准养护,36,2,,
三号楼板,C40,PB-003,${today} 00:00,0,${later},标准养护,8,1,,
二号楼梁,C35,PB-002,${today} 00:00,0,${minute},同级养护,12,1,<b>加急</b>,
DATA
cp "$WORK/a.bz" "$WORK/a.bz.before"

start_accessibility_bus
start_program
wait_for_popups 2 15
sleep 0.5  # the fade and any late placement settle
mapfile -t popups < <(xdotool search --onlyvisible --name '^数据提示$' 2>/dev/null)
check "two pop-ups named 数据提示 within 15 s (found ${#popups[@]})" test "${#popups[@]}" -eq 2

read -r screen_w screen_h < <(xwininfo -root | awk '/^  Width:/{w=$2} /^  Height:/{h=$2} END{print w, h}')
# positions per group: screen twips / 2790 rounded halves to even, less 1; five groups.
expected_slots=$(/usr/bin/python3 -c "print(5 * (round($screen_h * 15 / 2790) - 1))")
echo "screen ${screen_w}x${screen_h}: expecting ${expected_slots} slots"

/usr/bin/python3 - "$WORK/ts.ini" "$expected_slots" <<'PY' || failures=$((failures + 1))
import sys
path, expected = sys.argv[1], int(sys.argv[2])
try:
    text = open(path, "rb").read().decode("gbk")
except OSError as e:
    print("FAIL: ts.ini was created:", e)
    sys.exit(1)
sections, current = [], None
for line in text.split("\r\n"):
    if line.startswith("["):
        current = (line.strip("[]"), {})
        sections.append(current)
    elif "=" in line and current:
        k, v = line.split("=", 1)
        current[1][k] = v
ok = True
def expect(what, got, want):
    global ok
    print(("PASS: " if got == want else "FAIL: ") + what + ("" if got == want else f" (got {got!r}, want {want!r})"))
    ok &= got == want
names = [n for n, _ in sections]
positions = max(1, expected // 5)
expect(f"ts.ini holds {expected} slots in table order", names,
       [f"{g}|{p}" for g in range(1, 6) for p in range(1, positions + 1)])
slots = dict(sections)
expect("slot 1|1 busy", slots.get("1|1", {}).get("是否显示"), "1")
expect("slot 1|2 busy", slots.get("1|2", {}).get("是否显示"), "1")
expect("every other slot free", sorted({v.get("是否显示") for n, v in sections if n not in ("1|1", "1|2")}), ["0"])
expect("slot 1|1 holds the first due record", slots.get("1|1", {}).get("工程部位"), "一号楼柱")
expect("slot 1|2 holds the second due record", slots.get("1|2", {}).get("工程部位"), "二号楼梁")
expect("slot 1|2 keeps the remark as typed", slots.get("1|2", {}).get("备注"), "<b>加急</b>")
sys.exit(0 if ok else 1)
PY

# Geometry of each pop-up: absolute left, top, width, height; lowest first.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
        /^  Width:/{w=$2} /^  Height:/{h=$2} END{print x, y, w, h}'
}
if [ "${#popups[@]}" -eq 2 ]; then
    mapfile -t boxes < <(for w in "${popups[@]}"; do geometry "$w"; done | sort -k2,2nr)
    read -r x1 y1 w1 h1 <<<"${boxes[0]}"
    read -r x2 y2 w2 h2 <<<"${boxes[1]}"
    echo "pop-ups at ${boxes[0]} and ${boxes[1]}"
    check "pop-ups are 324 x 173" test "${w1}x${h1} ${w2}x${h2}" = "324x173 324x173"
    check "both touch the right edge of the screen" test $((x1 + w1)) -eq "$screen_w" -a $((x2 + w2)) -eq "$screen_w"
    check "the first stands on the bottom of the screen" test $((y1 + h1)) -eq "$screen_h"
    check "the second stands one window height above it" test $((y2 + h2)) -eq "$y1"
fi

check "the program is still running" kill -0 "$program"
check "a.bz unchanged" cmp -s "$WORK/a.bz.before" "$WORK/a.bz"

# 删除过期数据 then takes the two fired lines out of a.bz and keeps the other one as it was.
grep -av '一号楼柱\|二号楼梁' <(iconv -f GBK -t UTF-8 "$WORK/a.bz.before") | tr -d '\r\n' |
    iconv -f UTF-8 -t GBK >"$WORK/a.bz.expected"
check "删除过期数据 can be chosen" /usr/bin/python3 "$E2E_DIR/drive.py" menu 删除过期数据
for _ in $(seq 50); do cmp -s "$WORK/a.bz" "$WORK/a.bz.expected" && break; sleep 0.1; done
check "a.bz lost the fired lines and kept the other line" cmp "$WORK/a.bz" "$WORK/a.bz.expected"
if [ "$failures" -ne 0 ]; then
    echo "--- program output ---"
    cat "$WORK/program.log"
fi
finish
