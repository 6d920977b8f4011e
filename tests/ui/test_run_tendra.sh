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

# On the 1600x1000 screen the test runs on, the board takes the whole width
# under the main window, down to the screen's bottom.
geometry() {
    xdotool search --onlyvisible --name "$1" getwindowgeometry --shell | head -n 5
}
main=$(geometry '^Tendra V2\.0$')
mainBottom=$(eval "$main"; echo $((Y + HEIGHT)))
board=$(geometry 'tendon\.dxf')
placed=$(eval "$board"; echo "$X $WIDTH $((Y + HEIGHT))")
if [ "$placed" != "0 1600 1000" ] || [ "$(eval "$board"; echo "$Y")" -le "$mainBottom" ]; then
    echo "the board is not the whole width under the main window (main window ends at y=$mainBottom):"
    echo "$board"
    kill "$pid"
    exit 1
fi
echo "the board fills the width under the main window"
kill "$pid"
wait "$pid" 2>/dev/null
exit 0
