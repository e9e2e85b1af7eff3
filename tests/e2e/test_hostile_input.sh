#!/usr/bin/env bash
# Damaged a.bz and ts.ini files of every kind we could think of: each is started and scanned (with a
# record due in the current minute, so the scan reaches ts.ini) without a crash or a hang, and a.bz
# is left exactly as it was. (Run as root, the no-permission case reads the file anyway.)
source "$(dirname "$0")/common.sh"

wait_for_fresh_minute
now=$(date '+%F %H:%M')
due=$(printf '到期记录,C30,PB-1,%s,1,%s,标准养护,1,1,,' "$(date +%F) 00:00" "$now" | iconv -f UTF-8 -t GBK)
gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }
fresh_ini() {  # a freshly initialised slot table of 3 positions
    for g in 1 2 3 4 5; do for p in 1 2 3; do
        printf '[%s|%s]\r\n' $g $p
        for k in 是否显示 编号 工程部位 强度等级 配合比编号 制作日期 龄期 养护方式 到期时间 工程量 组数 备注; do
            printf '%s=0\r\n' "$(gbk $k)"
        done
    done; done
}

cases=()
new_case() {  # new_case NAME: a folder $d with its own copy of the program
    d="$WORK/$1"
    mkdir -p "$d"
    cp "$WORK/mirosta" "$d/mirosta"
    cases+=("$1")
}

# Damaged a.bz files, each with a record due now.
new_case truncated-gbk; { echo -n "$due"; printf '\r\n\xb5'; } >"$d/a.bz"
new_case nul-bytes; { printf 'a\x00b,c\x00,,,,\x00\r\n'; echo -n "$due"; } >"$d/a.bz"
new_case many-fields; { head -c 100000 /dev/zero | tr '\0' ','; printf '\r\n'; echo -n "$due"; } >"$d/a.bz"
new_case megabyte-line; { head -c 1048576 /dev/zero | tr '\0' 'x'; printf '\r\n'; echo -n "$due"; } >"$d/a.bz"
new_case binary-junk; { head -c 65536 /dev/urandom; printf '\r\n'; echo -n "$due"; } >"$d/a.bz"
new_case lone-cr-and-lf; { printf '\r\r\n\n\r'; echo -n "$due"; printf '\n,,,\r'; } >"$d/a.bz"
new_case only-commas; head -c 5000 /dev/zero | tr '\0' ',' >"$d/a.bz"
new_case empty-file; : >"$d/a.bz"
new_case directory; mkdir "$d/a.bz"
new_case fifo; mkfifo "$d/a.bz"
new_case no-permission; echo -n "$due" >"$d/a.bz"; chmod 000 "$d/a.bz"
# Damaged ts.ini files, with a good a.bz whose record falls due now.
ini_case() { new_case "$1"; echo -n "$due" >"$d/a.bz"; }
ini_case ini-header-in-value; { fresh_ini; printf '%s=[1|1]\r\n' "$(gbk 备注)"; } >"$d/ts.ini"
ini_case ini-truncated-gbk; { fresh_ini | head -c 100; printf '\xb5'; } >"$d/ts.ini"
ini_case ini-nul-bytes; fresh_ini | tr '0' '\0' >"$d/ts.ini"
ini_case ini-binary-junk; head -c 65536 /dev/urandom >"$d/ts.ini"
ini_case ini-all-busy; fresh_ini | sed 's/^\(\xca\xc7\xb7\xf1\xcf\xd4\xca\xbe\)=0/\1=1/' >"$d/ts.ini"
ini_case ini-not-slots; printf '[abc]\r\n[0|1]\r\n[01|1]\r\n[1|]\r\n[[[[\r\n=\r\n' >"$d/ts.ini"
ini_case ini-no-flag; printf '[1|1]\r\n%s=x\r\n' "$(gbk 编号)" >"$d/ts.ini"
ini_case ini-only-lf; fresh_ini | tr -d '\r' >"$d/ts.ini"
ini_case ini-directory; mkdir "$d/ts.ini"
ini_case ini-huge; { fresh_ini; head -c 2000000 /dev/zero | tr '\0' 'y'; } >"$d/ts.ini"

for name in "${cases[@]}"; do
    dir="$WORK/$name"
    [ -f "$dir/a.bz" ] && cp -p "$dir/a.bz" "$dir/a.bz.before"
    (cd "$dir" && exec ./mirosta) >"$dir/program.log" 2>&1 &
    pids+=($!)
    echo $! >"$dir/pid"
done

sleep 12  # start-up and at least one scan tick, also on a busy machine

# Programs whose event loop runs: their clock caption ticks.
ticking=" $(for w in $(xdotool search --name '^Mirosta V2\.2  ' 2>/dev/null); do xdotool getwindowpid "$w"; done | tr '\n' ' ') "
echo "programs with a ticking clock:$ticking"
crashes=0
for name in "${cases[@]}"; do
    dir="$WORK/$name"
    pid=$(cat "$dir/pid")
    if kill -0 "$pid" 2>/dev/null; then alive=yes; else alive=no; crashes=$((crashes + 1)); fi
    check "$name: still running after a scan" test "$alive" = yes
    # A frozen program would still be running; a ticking clock caption shows it is not.
    check "$name: the window keeps its clock" test "${ticking/ $pid /}" != "$ticking"
    if [ -f "$dir/a.bz.before" ]; then
        check "$name: a.bz unchanged" cmp -s "$dir/a.bz" "$dir/a.bz.before"
    elif [ "$name" = directory ]; then
        check "$name: still a directory" test -d "$dir/a.bz"
    elif [ "$name" = fifo ]; then
        check "$name: still a fifo" test -p "$dir/a.bz"
    fi
    kill "$pid" 2>/dev/null
done
echo "damaged files tried: ${#cases[@]}, crashes: ${crashes}"
finish
