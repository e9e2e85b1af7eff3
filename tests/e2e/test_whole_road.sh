#!/usr/bin/env bash
# The road of a record from an empty folder: 插入数据 adds it (twice, due in the next minute), 读取数据
# shows it, both fire in their minute (pop-ups, slots busy, rows marked 到期), closing one pop-up frees
# its slot, 删除过期数据 removes the lines, and 退出 with a pop-up still open leaves no busy slot.
source "$(dirname "$0")/common.sh"

slot_flags() {  # prints "name=flag" for every slot of ts.ini
    [ -f "$WORK/ts.ini" ] || return 0
    /usr/bin/python3 - "$WORK/ts.ini" <<'PY'
import sys
name = None
for line in open(sys.argv[1], "rb").read().decode("gbk").split("\r\n"):
    if line.startswith("["):
        name = line.strip("[]")
    elif line.startswith("是否显示=") and name:
        print(f"{name}={line.split('=', 1)[1]}")
PY
}
flag_is() { slot_flags | grep "^$1=$2\$" >/dev/null; }
drive() { /usr/bin/python3 "$E2E_DIR/drive.py" "$@"; }

start_accessibility_bus
start_program
sleep 1

# Due in the next minute, or the one after when this one is nearly over: time to fill the editor.
# Cast one day earlier at that minute, so that the typed due time is the one "?" computes.
ahead=1
[ "$((10#$(date +%S)))" -gt 40 ] && ahead=2
at=$(($(date +%s) + ahead * 60))
due=$(date -d "@$at" '+%F %H:%M')

# The editor's 添加 and 关闭 run inside the modal editor, so its opening call returns only when it closes.
drive menu 插入数据 &
opener=$!
check "the editor opens" drive set 工程部位 整条路试块
drive set 配合比编号 PB-E2E
drive set 制作日期 "$(date -d "@$((at - 86400))" '+%F')"
drive set "制作时间（小时）" "$(date -d "@$at" '+%H')"
drive set "制作时间（分钟）" "$(date -d "@$at" '+%M')"
drive set "龄期（D）" 1
drive set 到期时间 "$due"
check "添加 is pressed" drive press 添加
drive press 添加
check "the same record again is asked about and confirmed" drive press 是
drive grid 增添提醒数据 >"$WORK/editor.json"
drive press 关闭
wait "$opener" 2>/dev/null
check "the editor lists both new records" test "$(grep -o '整条路试块' "$WORK/editor.json" | wc -l)" -eq 2
/usr/bin/python3 - "$WORK/a.bz" "$due" <<'PY' || failures=$((failures + 1))
import sys
data = open(sys.argv[1], "rb").read().decode("gbk")
lines = data.split("\r\n")
ok = len(lines) == 3 and lines[0] == lines[1] and lines[2] == "," * 10 \
    and lines[0].startswith("整条路试块,C30,PB-E2E,") and f",1,{sys.argv[2]},标准养护," in lines[0]
print(("PASS" if ok else "FAIL") + ": a.bz holds the two records and the line of ten commas", "" if ok else repr(data))
sys.exit(0 if ok else 1)
PY

drive menu 读取数据
drive grid >"$WORK/grid.json"
# The list was empty at start, so the scan starts with the records 读取数据 brings.
check "读取数据 shows them" test "$(grep -o '整条路试块' "$WORK/grid.json" | wc -l)" -eq 2

wait_for_popups 2 150
check "both fire in their minute" test "${#popups[@]}" -eq 2
sleep 0.5
check "slots 1|1 and 1|2 are busy" test "$(slot_flags | grep -c '^1|[12]=1$')" -eq 2
drive grid >"$WORK/grid.json"
check "both rows are marked 到期" test "$(grep -o '"到期"' "$WORK/grid.json" | wc -l)" -eq 2

# Close the lower pop-up (slot 1|1), as its close box would.
lowest=$(for w in "${popups[@]}"; do echo "$(xdotool getwindowgeometry "$w" | awk -F'[ ,]' '/Position/{print $5}') $w"; done | sort -n | tail -n 1 | cut -d' ' -f2)
drive close "$lowest"
for _ in $(seq 50); do flag_is '1|1' 0 && break; sleep 0.1; done
check "closing a pop-up frees its slot" flag_is '1|1' 0
check "the other pop-up keeps its slot" flag_is '1|2' 1

# The emptied list stops the scan with two message boxes, so this call returns only later.
drive menu 删除过期数据 2>/dev/null &
for _ in $(seq 50); do [ "$(cat "$WORK/a.bz")" = ",,,,,,,,,," ] && break; sleep 0.1; done
check "删除过期数据 removes both lines" test "$(cat "$WORK/a.bz")" = ",,,,,,,,,,"

# 退出 ends the program even while those message boxes are up.
drive menu 退出 2>/dev/null &
for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
check "退出 ends the program" bash -c "! kill -0 $program 2>/dev/null"
check "no slot is left busy" test "$(slot_flags | grep -c '=1$')" -eq 0
finish
