#!/bin/sh
# clipboard-wine.sh RUNNER PROGRAM.exe JSON_EQUAL PROBE.exe: the Windows
# vexa-decode reading the system clipboard under Wine: the probe of the window
# tests copies as another Windows program would, the program reads the
# clipboard with --clipboard and follows it with --watch
# (GetClipboardSequenceNumber), on the X display the Wine tests run on
# (scripts/with-display).
runner=$1
program=$2
json_equal=$3
probe=$4
if [ -z "${DISPLAY:-}" ]; then
    echo "clipboard-wine.sh: no X display (run it under scripts/with-display)" >&2
    exit 1
fi

work=$(mktemp -d) || exit 1
watcher="" holder=""
trap 'kill $watcher $holder 2>/dev/null; rm -rf "$work"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
# Wine may be starting up: thirty seconds for every wait, three times as
# long where the program runs in the emulated machine.
. "$(dirname "$runner")/wine-env"
slower=1
in_machine "$program" && slower=3
wait_limit=$((300 * slower))
. "$(dirname "$0")/clipboard-common.sh"

# A probe that waits for a window that never comes keeps a program on Wine's
# desktop, so its clipboard manager starts once, before the first copy.
$runner "$probe" wait-window "no such window" 600 >/dev/null 2>&1 &
holder=$!

# copy TEXT: makes TEXT (printf format) the clipboard's content.
copy() {
    $runner "$probe" copy text "$(printf "$1" | od -An -tx1 | tr -d ' \n')" ||
        fail "the probe did not copy"
}

copy 'ATZ\r\nOK\r\nDIAG <2A4D3263 0=10>\r\nOK\r\nDIAG <2A4D3263 60=3C>\r\nOK\r\n'
timeout $((120 * slower)) $runner "$program" --clipboard </dev/null >"$work/out" 2>"$work/err"
status=$?
printf 'Diag Command Specification rev.: 1.0\r\n' >"$work/expected"
[ "$status" -eq 0 ] || fail "--clipboard: exit code $status"
cmp -s "$work/expected" "$work/out" || fail "--clipboard: $(cat -A "$work/out")"

timeout $((120 * slower)) $runner "$program" --clipboard --all --json </dev/null >"$work/out" 2>&1 ||
    fail "--json --all"
two_reports_json 5 >"$work/expected.json"
$json_equal "$work/expected.json" "$work/out" || fail "--clipboard --all --json"
valid "$work/out" "--clipboard --all --json"

copy 'DIAG <2A4D3263 0=10>\r\nOK\r\n'
$runner "$program" --watch --watch-count 2 </dev/null >"$work/watch" 2>&1 &
watcher=$!
wait_for "$work/watch" "=== clipboard 1 at " || fail "--watch printed nothing"
copy 'DIAG <2A4D3263 60=3C>\r\nOK\r\n'
wait_exit $watcher
status=$?
watcher=""
[ "$status" -eq 0 ] || fail "--watch --watch-count 2: exit code $status"
check_two_copies "$work/watch"

# Wine turns SIGINT into the console's Ctrl+C.
# Its own output file: a heading left by the watch above, read before the
# shell has emptied the file, would send the signal too early.
$runner "$program" --watch </dev/null >"$work/interrupted" 2>&1 &
watcher=$!
wait_for "$work/interrupted" "=== clipboard 1 at " || fail "--watch printed nothing"
kill -INT $watcher
wait_exit $watcher
status=$?
watcher=""
[ "$status" -eq 0 ] || fail "--watch ended by Ctrl+C: exit code $status"

exit $failed
