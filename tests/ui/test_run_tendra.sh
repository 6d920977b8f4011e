#!/bin/sh
# Starts Tendra the way `make run` does, through scripts/run-tendra, on the
# display xvfb-run gives it, and waits for the main window and the board with
# the sample drawing. Fails when the program does not start, exits early or
# never shows either window.
set -u
top=$1
log=$(mktemp)
trap 'rm -f "$log"' EXIT

"$top/scripts/run-tendra" >"$log" 2>&1 &
pid=$!

shown() {
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}

tries=0
while ! { shown '^Tendra V2\.0$' && shown 'tendon\.dxf'; }; do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "scripts/run-tendra ended before Tendra showed its windows:"
        cat "$log"
        exit 1
    fi
    tries=$((tries + 1))
    if [ "$tries" -ge 600 ]; then
        echo "no window \"Tendra V2.0\" with the board's sample drawing beside it within 60 s:"
        cat "$log"
        kill "$pid"
        exit 1
    fi
    sleep 0.1
done
echo "Tendra V2.0 and the board with tendon.dxf are on the screen"
kill "$pid"
wait "$pid" 2>/dev/null
exit 0
