#!/usr/bin/env bash
# A record fires in its minute; 删除过期数据 then takes its line out of a.bz and leaves every other
# line as it was, in order.
source "$(dirname "$0")/common.sh"

wait_for_fresh_minute
today=$(date +%F)
minute=$(date '+%F %H:%M')
other=$(date -d '+30 minutes' '+%F %H:%M')
[ "${other:0:10}" = "$today" ] || other=$(date -d '-30 minutes' '+%F %H:%M')
write_data_file <<DATA
一号楼柱,C30,PB-001,${today} 00:00,0,${other},标准养护,36,2,,
二号楼梁,C35,PB-002,${today} 00:00,0,${minute},同级养护,12,1,,
三号楼板,C40,PB-003,2024-01-01 00:00,28,2024-01-29 00:00,标准养护,8,1,,
,,,,,,,,,,
DATA
/usr/bin/python3 - "$WORK/a.bz" "$WORK/a.bz.expected" <<'PY'
import sys
lines = open(sys.argv[1], "rb").read().split(b"\r\n")
open(sys.argv[2], "wb").write(b"\r\n".join(l for l in lines if "二号楼梁".encode("gbk") not in l))
PY

start_accessibility_bus
start_program

wait_for_popups 1 15
check "the record due now fired a pop-up" test "${#popups[@]}" -eq 1
/usr/bin/python3 "$E2E_DIR/drive.py" grid >"$WORK/grid.json" 2>>"$WORK/program.log"
check "its row is marked 到期" grep -q '"二号楼梁",.*"到期"' "$WORK/grid.json"

check "删除过期数据 can be chosen" /usr/bin/python3 "$E2E_DIR/drive.py" menu 删除过期数据
for _ in $(seq 50); do
    cmp -s "$WORK/a.bz" "$WORK/a.bz.expected" && break
    sleep 0.1
done
check "a.bz lost the fired line and kept every other line" cmp "$WORK/a.bz" "$WORK/a.bz.expected"
/usr/bin/python3 "$E2E_DIR/drive.py" grid >"$WORK/grid.json" 2>>"$WORK/program.log"
check "the list keeps the record not yet due" grep -q '一号楼柱' "$WORK/grid.json"
check "the fired record left the list" test "$(grep -c '二号楼梁' "$WORK/grid.json")" -eq 0
finish
