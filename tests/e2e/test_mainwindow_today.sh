#!/usr/bin/env bash
# The main window at start-up: exactly today's records in file order, numbered from 1, one empty
# unnumbered row after them, the loading caption followed by the clock, readable through the
# accessibility bus, and a.bz left byte for byte as it was.
source "$(dirname "$0")/common.sh"

today=$(date +%F)
yesterday=$(date -d yesterday +%F)
tomorrow=$(date -d tomorrow +%F)
write_data_file <<DATA
一号楼柱,C30,PB-001,${yesterday} 00:00,1,${today} 00:00,标准养护,36,2,,
二号楼梁,C35,PB-002,${yesterday} 08:00,28,${yesterday} 08:00,标准养护,12,1,,
三号楼板,C40,PB-003,${today} 09:00,1,${tomorrow} 09:00,同级养护,8,1,,
short,line
四号楼墙,C45,PB-004,${today} 09:00,7,${today} 23:59,同级养护,20,3,<b>加急</b>,

五号楼柱,C50,PB-005,${today} 09:00,7,${today} 12:00,标准养护,5,1,备注,到期,
,,,,,,,,,,
DATA
# Broken bytes: a line of binary junk and one with a cut-off GBK character, due today.
printf '\r\n\x00\x01\xff\xfe,junk\r\n\xb5,C30,x,y,z,%s 10:00,k,l,m,n,\xb5' "$today" >>"$WORK/a.bz"
cp "$WORK/a.bz" "$WORK/a.bz.before"

start_accessibility_bus
start_program

# Collect the captions the window shows during its first three seconds.
: >"$WORK/titles"
for _ in $(seq 30); do
    for w in $(xdotool search --onlyvisible --class mirosta 2>/dev/null); do
        xdotool getwindowname "$w" >>"$WORK/titles" 2>/dev/null
    done
    sleep 0.1
done
check "the loading caption is shown first" grep -qx '正在获取正确的版本信息。' "$WORK/titles"
check "then the clock caption" grep -qE '^Mirosta V2\.2  [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$' "$WORK/titles"

/usr/bin/python3 "$E2E_DIR/drive.py" grid >"$WORK/grid.json" 2>>"$WORK/program.log"
check "the grid is readable over AT-SPI" test -s "$WORK/grid.json"
/usr/bin/python3 - "$WORK/grid.json" "$today" <<'PY' || failures=$((failures + 1))
import json, sys
grid = json.load(open(sys.argv[1]))
today = sys.argv[2]
ok = True
def expect(what, got, want):
    global ok
    if got == want:
        print("PASS:", what)
    else:
        print("FAIL:", what, "got", got, "want", want)
        ok = False
expect("headings", grid["headers"][:11],
       ["工程部位", "强度等级(C)", "配合比编号", "制作日期", "龄期（D）", "到期时间",
        "养护方式", "工程量", "组数", "备注", "是否到期"])
rows = grid["rows"]
expect("row numbers", [r[0] for r in rows], ["1", "2", "3", "4", ""])
expect("project parts in file order", [r[1] for r in rows],
       ["一号楼柱", "四号楼墙", "五号楼柱", "\ufffd", ""])
expect("due times", [r[6] for r in rows],
       [today + " 00:00", today + " 23:59", today + " 12:00", today + " 10:00", ""])
expect("a remark is shown as plain text", rows[1][10], "<b>加急</b>")
expect("a twelve-field line shows its due mark", [r[11] for r in rows], ["", "", "到期", "", ""])
expect("the last row is empty", rows[-1], [""] * len(rows[-1]))
sys.exit(0 if ok else 1)
PY

kill "$program" 2>/dev/null
wait "$program" 2>/dev/null
check "a.bz is byte for byte unchanged" cmp -s "$WORK/a.bz" "$WORK/a.bz.before"
finish
