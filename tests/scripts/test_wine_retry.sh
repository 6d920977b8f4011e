#!/bin/sh
# scripts/wine-retry against a stand-in for Wine whose Nth call plays the Nth
# word of $RUNS: a program runs again only when Wine cut it off before its end.
#
#   tests/scripts/test_wine_retry.sh SCRIPTS_DIR
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/fake-wine" <<'FAKE'
#!/bin/sh
calls=$(($(cat "$CALLS" 2>/dev/null || echo 0) + 1))
echo "$calls" >"$CALLS"
set -- $RUNS
shift $((calls - 1))
start() { printf 'Running main()\n[==========] Running 1 test from 1 test suite.\n[ RUN      ] S.C\n'; }
end() { echo "[==========] 1 test from 1 test suite ran. (3 ms total)"; echo "[  $1  ] 1 test."; }
reset() { echo "wine client error:0: recvmsg: Connection reset by peer" >&2; }
case $1 in
passes) start; end PASSED; exit 0 ;;
fails) start; end FAILED; exit 1 ;;
silent) exit 1 ;;
cut) start; reset; exit 1 ;;
cut_at_start) reset; exit 1 ;;
cut_mid_line) printf 'Running main()\r\n[ RUN      ] S'; reset; exit 1 ;;
cut_after_end) start; end PASSED; reset; exit 1 ;;
aborts) start; echo "terminate called without an active exception"; exit 3 ;;
error_but_succeeds) start; reset; exit 0 ;;
esac
FAKE
chmod +x "$work/fake-wine"

failures=0
# name | runs played | exit status, calls, retry lines | in the retry line | in the output
while IFS='|' read -r name runs expected why shown; do
    rm -f "$work/calls"
    CALLS=$work/calls RUNS=$runs sh "$1/wine-retry" "$work/fake-wine" tests.exe >"$work/out" 2>&1
    got="$? $(cat "$work/calls") $(grep -c '^wine-run: retried tests\.exe: ' "$work/out")"
    if [ "$got" != "$expected" ] || { [ -n "$shown" ] && ! grep -qF -- "$shown" "$work/out"; } ||
        { [ -n "$why" ] && ! grep '^wine-run: retried' "$work/out" | grep -qF -- "$why"; }; then
        echo "FAIL $name: status, calls, retries $got (wanted $expected), \"$why\", \"$shown\":"
        sed 's/^/    /' "$work/out"
        failures=$((failures + 1))
    fi
done <<'ROWS'
a passing program runs once|passes|0 1 0||[  PASSED  ] 1 test.
cut off by Wine's server, passes on the second run|cut passes|0 2 1|after writing 3 lines, on|[  PASSED  ] 1 test.
cut off before its first line, passes on the second run|cut_at_start passes|0 2 1|after writing 0 lines, on Wine's error: wine client error:0: recvmsg: Connection reset by peer|[  PASSED  ] 1 test.
cut off in the middle of a CRLF line, passes on the second run|cut_mid_line passes|0 2 1|on Wine's error: wine client error:0: recvmsg|[  PASSED  ] 1 test.
ended before writing anything, passes on the second run|silent passes|0 2 1|before writing anything|[  PASSED  ] 1 test.
cut off twice fails with the second run's output|cut cut|1 2 1|Connection reset by peer|wine client error:0
a failing test is not run again|fails passes|1 1 0||[  FAILED  ] 1 test
Wine's error after GoogleTest's summary is not run again|cut_after_end passes|1 1 0||[  PASSED  ] 1 test.
a program that aborts by itself is not run again|aborts passes|3 1 0||terminate called
Wine's error in a run that succeeds is not run again|error_but_succeeds passes|0 1 0||wine client error:0
the second run's own failure is reported|silent aborts|3 2 1|before writing anything|terminate called
ROWS
echo "$failures of 11 cases failed"
[ "$failures" -eq 0 ]
