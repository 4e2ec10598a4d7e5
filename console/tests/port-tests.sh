#!/bin/sh
# port-tests.sh PROGRAM [RUNNER]: vexa-decode reading serial ports and
# devices, against our modem simulator (modem-sim.py) on a pseudo terminal:
# a query answered with a report, with ERROR, stalled and cut off; a device
# named as a file; and reports written as soon as they end, from a device
# and from a pipe. With RUNNER (scripts/wine-run) the Windows program runs
# under Wine, where the port is COM1: Wine's Ports key and its
# dosdevices/com1 link lead to a link that the simulator points at its
# terminal.
program=$1
runner=$2
here=$(dirname "$0")

if [ -n "$runner" ]; then
    . "$(dirname "$runner")/wine-env"
    if in_machine "$program"; then
        # The simulator's terminal must be the machine's own, and so must
        # Wine's COM1: the whole test runs there.
        # Everything is slower there: an answer takes longer to arrive.
        exec "$(dirname "$runner")/guest" run -- env VEXA_EMULATE_32BIT=0 VEXA_SLOWER=3 \
            sh "$0" "$@"
    fi
fi

work=$(mktemp -d) || exit 1
sim="" reader="" saved_com1=""
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null
    [ -n "$reader" ] && kill "$reader" 2>/dev/null
    if [ -n "$runner" ]; then
        wine_tools reg delete 'HKLM\Software\Wine\Ports' /v COM1 /f >/dev/null 2>&1
        rm -f "$WINEPREFIX/dosdevices/com1"
        [ -n "$saved_com1" ] && ln -s "$saved_com1" "$WINEPREFIX/dosdevices/com1"
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# Each time limit of the test is this many times longer in the emulated
# machine, where everything is slower; each only bounds a wait for an event.
slower=${VEXA_SLOWER:-1}
# Wine may be starting up: thirty seconds for every wait.
wait_limit=$((300 * slower))
# --timeout for a stalled or cut answer: far more than the simulator takes
# to answer, however busy the machine.
silence=$((2 * slower))
. "$here/clipboard-common.sh"

if [ -n "$runner" ]; then
    "$(dirname "$runner")/wine-prefix" || exit 1
    # Wine makes its dosdevices links anew when it starts, from this key.
    saved_com1=$(readlink "$WINEPREFIX/dosdevices/com1" 2>/dev/null)
    wine_tools reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$work/modem" /f \
        >/dev/null 2>&1 || { echo "cannot set Wine's COM1" >&2; exit 1; }
    ln -sfn "$work/modem" "$WINEPREFIX/dosdevices/com1"
    set -- $runner "$program"
    port=COM1
else
    set -- "$program"
fi

# start_sim ARGS...: a simulator of its own; sets $port to its terminal.
start_sim() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null
    rm -f "$work/name"
    python3 -S "$here/modem-sim.py" "$work/name" --link "$work/modem" "$@" 2>"$work/sim.err" &
    sim=$!
    wait_for "$work/name" / || { fail "the simulator did not start"; cat "$work/sim.err" >&2; }
    [ -n "$runner" ] || port=$(cat "$work/name")
}

# run NAME EXIT ARGS...: runs the program, bounded, into $work/out and
# $work/err, and checks its exit code.
run() {
    name=$1 code=$2
    shift 2
    timeout $((120 * slower)) "$@" </dev/null >"$work/out" 2>"$work/err"
    status=$?
    [ "$status" -eq "$code" ] || fail "$name: exit code $status, expected $code: $(cat "$work/err")"
}

has() { grep -q -F -- "$2" "$1" || fail "$3: '$2' missing in $(cat "$1")"; }
# The JSON Lines of every case go to the schema check at the end: one start
# of the checker, which takes seconds in the emulated machine.
keep_jsonl() { cat "$1" >>"$work/all.jsonl"; }

printf 'Diag Command Specification rev.: 1.0\r\nCall Setup Result code         : No previous call\r\nMulti-media mode               : Data Only\r\nDTE-DCE interface mode         : Async data\r\nTX/RX signal power level, -dBm : 26/28\r\nTermination Cause              : Carrier Lost\r\n' >"$work/report"

start_sim
run "a query" 0 "$@" --port "$port" --query 'AT*VXD'
cmp -s "$work/report" "$work/out" || fail "a query: $(cat -A "$work/out")"

start_sim
run "a query answered with ERROR" 1 "$@" --port "$port" --baud 9600 --query ATZ
has "$work/err" "answered ERROR" "ERROR"
printf 'no recognizable data found!\r\n' | cmp -s - "$work/out" || fail "ERROR: $(cat -A "$work/out")"

# An answer cut short is still written, with the reason, and the status
# says so.
start_sim --mode stall
run "a stalled answer" 1 "$@" --port "$port" --query 'AT*VXD' --timeout $silence --jsonl
has "$work/err" "silent for $silence s before OK or ERROR" "a stalled answer"
has "$work/out" '"complete":false,"reason":"timeout"' "a stalled answer"
keep_jsonl "$work/out"

start_sim --mode fail
run "ERROR after a block" 1 "$@" --port "$port" --query 'AT*VXD' --jsonl
has "$work/out" '"complete":false,"reason":"error"' "ERROR after a block"

# The timeout counts silence: a slow modem longer than it is heard out.
start_sim --mode slow --outlast $silence
run "a slow modem" 0 "$@" --port "$port" --query 'AT*VXD' --timeout $silence
cmp -s "$work/report" "$work/out" || fail "a slow modem: $(cat -A "$work/out")"

# A second run on a port in use is refused; the first keeps it until the
# test ends it (its limit, a day, is never reached).
start_sim --mode stall --heard "$work/heard"
"$@" --port "$port" --query 'AT*VXD' --timeout 86400 --jsonl </dev/null >"$work/first" 2>&1 &
reader=$!
wait_for "$work/heard" heard || fail "busy: the simulator heard no command"
run "a busy port" 1 "$@" --port "$port" --query 'AT*VXD'
has "$work/err" "vexa-decode: $port: busy" "busy"
if [ -z "$runner" ]; then
    # A signal ends the first run with what it had decoded.
    kill -TERM "$reader"
    wait_exit "$reader"
    status=$?
    [ $status -eq 143 ] || fail "SIGTERM: exit code $status: $(cat "$work/first")"
    has "$work/first" '"complete":false,"reason":"interrupted"' "SIGTERM"
else
    # Wine turns no POSIX signal into Ctrl+C for a program without a
    # console.
    kill -KILL "$reader"
    wait "$reader"
fi
reader=""
rm -f "$work/heard"

# Wine reads nothing more from a terminal that has hung up, but no end
# either: there the answer runs out of time. The echo's lone CR ends no line
# number, so the block after "AT*VXD\r\r\n" is on line 2, as grep -n says.
start_sim --mode cut
run "a cut answer" 1 "$@" --port "$port" --query 'AT*VXD' --timeout $silence --all
if [ -n "$runner" ]; then
    has "$work/out" "Report 1 (line 2, cut off: the port fell silent before its OK)" "a cut answer"
else
    has "$work/out" "Report 1 (line 2, cut off: the input ended before its OK)" "a cut answer"
    has "$work/err" "hung up before OK or ERROR" "a cut answer"
fi

# A device named as the file is read, not the clipboard.
start_sim --mode stream --log "$here/../../examples/two-reports.log"
run "a device named" 0 "$@" "$port"
cmp -s "$here/../../tests/expected/two-reports.txt" "$work/out" ||
    fail "a device named: $(cat -A "$work/out")"

# Reports are written as they end: the first is out while the second is
# still on its way. Natively the hang-up ends the reading; under Wine a
# terminal that hung up reads as one that stays silent.
hang_up=--hang-up
[ -n "$runner" ] && hang_up=""
start_sim --mode stream --log "$here/../../examples/two-reports.log" --gate "$work/gate" $hang_up
"$@" --all --jsonl "$port" </dev/null >"$work/out" 2>"$work/err" &
reader=$!
wait_for "$work/out" '"report":1' || fail "device: the first report waited for the input's end"
touch "$work/gate"
wait_for "$work/out" '"report":2' || fail "device: no second report"
if [ -n "$runner" ]; then
    kill -KILL "$reader"
    wait "$reader"
else
    wait_exit "$reader" || fail "device: exit code $? after the hang-up"
fi
reader=""
keep_jsonl "$work/out"

rm -f "$work/gate"
{
    printf 'DIAG <2A4D3263 0=10>\r\nOK\r\n'
    i=0
    while [ ! -e "$work/gate" ] && [ $i -lt "$wait_limit" ]; do sleep 0.1; i=$((i + 1)); done
    printf 'DIAG <2A4D3263 60=3C>\r\n'
} | "$@" --all --jsonl - >"$work/out" 2>"$work/err" &
reader=$!
wait_for "$work/out" '"report":1' || fail "pipe: the first report waited for the input's end"
touch "$work/gate"
wait_exit "$reader" || fail "pipe: exit code $?"
reader=""
has "$work/out" '"report":2,"line":3,"complete":false' "pipe"
keep_jsonl "$work/out"
valid "$work/all.jsonl" "--jsonl of a stalled answer, a device and a pipe" --lines

exit $failed
