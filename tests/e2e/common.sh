# Shared by the end-to-end scripts: a private copy of the program in a fresh folder (the program
# keeps a.bz and ts.ini beside its executable), an X server when the caller has none, and checks
# that print PASS or FAIL lines.
set -uo pipefail

MIROSTA_BIN=${1:?usage: $0 path/to/mirosta}
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d /tmp/mirosta-e2e.XXXXXX)
cp "$MIROSTA_BIN" "$WORK/mirosta"
failures=0
pids=()

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    display=120
    while [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
    Xvfb ":${display}" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
    export DISPLAY=":${display}"
fi
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$WORK/runtime}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

check() {  # check "what" command...
    local what=$1
    shift
    if "$@"; then
        echo "PASS: $what"
    else
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}

# Writes a.bz from UTF-8 lines on stdin: GBK, CR LF between lines, none after the last.
write_data_file() {
    /usr/bin/python3 -c '
import sys
lines = sys.stdin.read().split("\n")
if lines and lines[-1] == "":
    lines.pop()
sys.stdout.buffer.write("\r\n".join(lines).encode("gbk"))
' >"$WORK/a.bz"
}

# A session bus with the accessibility bus on it, as a desktop has, so the checks can read and
# drive the program the way a screen reader does (drive.py).
start_accessibility_bus() {
    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null)
    export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | head -n 1)
    pids+=("$(echo "$bus" | tail -n 1)")
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    pids+=($!)
    sleep 0.5
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# Starts the program in $WORK; its process id is in $program.
start_program() {
    (cd "$WORK" && exec ./mirosta) >>"$WORK/program.log" 2>&1 &
    program=$!
    pids+=($program)
}

# Waits until a due minute leaves at least 15 seconds for the first scan tick.
wait_for_fresh_minute() {
    local second=$((10#$(date +%S)))
    if [ "$second" -gt 45 ]; then sleep $((61 - second)); fi
}

# Waits up to SECONDS for COUNT reminder pop-ups; their window ids are then in $popups.
wait_for_popups() {  # wait_for_popups COUNT SECONDS
    popups=()
    for _ in $(seq $(($2 * 10))); do
        mapfile -t popups < <(xdotool search --onlyvisible --name '^数据提示$' 2>/dev/null)
        [ "${#popups[@]}" -ge "$1" ] && break
        sleep 0.1
    done
}

finish() {
    if [ "$failures" -eq 0 ]; then
        echo "all checks passed"
        exit 0
    fi
    echo "$failures check(s) failed"
    exit 1
}
