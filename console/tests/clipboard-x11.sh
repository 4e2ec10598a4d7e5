#!/bin/sh
# clipboard-x11.sh VEXA_DECODE JSON_EQUAL: vexa-decode reading a real X11
# clipboard. Starts a private Xvfb, fills its clipboard with xclip and runs
# the program with --clipboard, from a terminal, and with --watch.
program=$1
json_equal=$2

work=$(mktemp -d) || exit 1
# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
watcher=""
# xclip's owners end with the X server.
trap 'kill $watcher $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$work"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
i=0
until [ -s "$work/display" ]; do
    i=$((i + 1))
    if [ $i -gt 100 ] || ! kill -0 $xvfb 2>/dev/null; then
        echo "Xvfb did not start:" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
num=$(cat "$work/display")
export DISPLAY=":$num"
unset WAYLAND_DISPLAY

# Ten seconds for every wait.
wait_limit=100
. "$(dirname "$0")/clipboard-common.sh"

# copy TEXT [TARGET]: makes TEXT (printf format) the clipboard's content and
# waits, at most wait_limit tenths, until the X server says so: xclip returns
# before its background half has taken the clipboard.
copy() {
    printf "$1" >"$work/copied"
    timeout 10 xclip -selection clipboard ${2:+-t "$2"} -i <"$work/copied" >/dev/null 2>&1
    i=0
    until timeout 10 xclip -selection clipboard ${2:+-t "$2"} -o >"$work/pasted" 2>/dev/null &&
        cmp -s "$work/copied" "$work/pasted"; do
        i=$((i + 1))
        [ $i -gt "$wait_limit" ] && { fail "xclip did not take the clipboard"; return 1; }
        sleep 0.1
    done
}

# expect NAME EXIT EXPECTED COMMAND...: EXPECTED is printf format, CR LF ends
# written as \r\n.
expect() {
    name=$1 code=$2
    printf "$3" >"$work/expected"
    shift 3
    timeout 30 "$@" </dev/null >"$work/out" 2>"$work/err"
    status=$?
    if [ "$status" -eq 124 ]; then
        fail "$name: did not end within 30 s"
    elif [ "$status" -ne "$code" ]; then
        fail "$name: exit code $status, expected $code"
    fi
    if ! cmp -s "$work/expected" "$work/out"; then
        fail "$name: output differs"
        diff "$work/expected" "$work/out" | cat -A >&2
    fi
}

rev='Diag Command Specification rev.: 1.0\r\n'
cause='Termination Cause              : Carrier Lost\r\n'
two_reports='ATZ\r\nOK\r\nDIAG <2A4D3263 0=10>\r\nOK\r\n\r\nDIAG <2A4D3263 60=3C>\r\nOK\r\n'

expect "nothing copied yet" 1 'no text data in clipboard available!\r\n' "$program" --clipboard

copy 'ATZ\r\nDIAG <2A4D3263 0=10 60=3C>\r\nOK\r\n'
expect "a copied report" 0 "$rev$cause" "$program" --clipboard
expect "prefix" 0 "m1 ${rev}m1 $cause" "$program" +m1 --clipboard

copy "$two_reports"
expect "every report" 0 "Report 1 (line 3)\r\n${rev}Report 2 (line 6)\r\n$cause" \
    "$program" --clipboard --all
timeout 30 "$program" --clipboard --all --json >"$work/out" 2>&1 || fail "--json: exit code $?"
two_reports_json 6 >"$work/expected.json"
$json_equal "$work/expected.json" "$work/out" || fail "--json --all from the clipboard"
valid "$work/out" "--json --all from the clipboard"

copy 'AT&V\r\nOK\r\n'
expect "text without a report" 1 'no statistics data in clipboard available!\r\n' \
    "$program" --clipboard
copy '\211PNG' image/png
expect "an image is no text" 1 'no text data in clipboard available!\r\n' "$program" --clipboard

expect "a display that is not there" 1 'cannot open clipboard!\r\n' \
    env DISPLAY=":$((num + 1000))" "$program" --clipboard
expect "no display at all" 1 'cannot open clipboard!\r\n' env -u DISPLAY "$program" --clipboard
expect "no clipboard tool" 1 'cannot open clipboard!\r\n' env PATH=/nonexistent "$program" --clipboard

# Standard input a terminal and no file: the clipboard, without --clipboard.
copy 'DIAG <2A4D3263 0=10>\r\nOK\r\n'
if command -v script >/dev/null 2>&1; then
    timeout 30 script -qec "$program" /dev/null </dev/null >"$work/out" 2>&1
    tr -d '\r' <"$work/out" >"$work/plain"
    printf 'Diag Command Specification rev.: 1.0\n' >"$work/expected"
    cmp -s "$work/expected" "$work/plain" || fail "terminal on standard input: $(cat "$work/out")"
    # "-" reads the terminal itself, never the clipboard: what is typed there.
    printf 'DIAG <2A4D3263 60=3C>\nOK\n' |
        timeout 30 script -qec "$program -" /dev/null >"$work/out" 2>&1
    grep -q 'Carrier Lost' "$work/out" && ! grep -q 'rev\.: 1\.0' "$work/out" ||
        fail "- at a terminal: $(cat "$work/out")"
else
    echo "note: no script command, the terminal case is not run" >&2
fi

# --watch: the clipboard now, then each change; --watch-count ends it.
"$program" --watch --watch-count 2 >"$work/watch" 2>&1 &
watcher=$!
wait_for "$work/watch" "=== clipboard 1 at " || fail "--watch printed nothing"
copy 'DIAG <2A4D3263 60=3C>\r\nOK\r\n'
wait_exit $watcher
status=$?
watcher=""
[ "$status" -eq 0 ] || fail "--watch --watch-count 2: exit code $status"
check_two_copies "$work/watch"

# --watch --json: one document a line.
timeout 30 "$program" --watch --json --watch-count 1 >"$work/out" 2>&1
head -n 1 "$work/out" >"$work/first.json"
[ "$(wc -l <"$work/out")" -eq 1 ] || fail "--watch --json: not one line"
printf '{"source":"clipboard","prefix":null,"report":1,"line":1,"complete":true,"reason":null,"messages":[],"lines":[{"label":"Termination Cause","values":["Carrier Lost"],"raw":[{"key":"60","value":"3C"}]}],"blocks":[{"line":1,"tokens":[{"key":"60","value":"3C"}],"unparsed":null}]}' \
    >"$work/expected.json"
$json_equal "$work/expected.json" "$work/first.json" || fail "--watch --json"
valid "$work/out" "--watch --json" --lines

# --watch --jsonl: one document a report, each on its line.
timeout 30 "$program" --watch --jsonl --all --watch-count 1 >"$work/out" 2>&1
[ "$(wc -l <"$work/out")" -eq 1 ] || fail "--watch --jsonl: not one line"
grep -q '"complete":true' "$work/out" || fail "--watch --jsonl: $(cat "$work/out")"
valid "$work/out" "--watch --jsonl" --lines

# Ctrl+C ends a watch cleanly, with exit code 0.
# Its own output file: a heading left by the watch above, read before the
# shell has emptied the file, would send the signal too early.
"$program" --watch >"$work/interrupted" 2>&1 &
watcher=$!
wait_for "$work/interrupted" "=== clipboard 1 at " || fail "--watch printed nothing"
kill -INT $watcher
wait_exit $watcher
status=$?
watcher=""
[ "$status" -eq 0 ] || fail "--watch ended by SIGINT: exit code $status"

exit $failed
