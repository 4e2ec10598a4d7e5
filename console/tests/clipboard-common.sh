# Sourced by the clipboard and port tests: failure bookkeeping, the schema
# check, bounded waits (so a program that never answers fails the test
# instead of hanging it), the JSON of two copied reports and the check of a
# watch over two copies. Set wait_limit (tenths of a second) before
# sourcing. Uses $work, the test's scratch folder.
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

# valid FILE WHAT [--lines]: FILE holds JSON (JSON Lines) that follows the
# published schema.
valid() {
    python3 "$(dirname "$0")/validate-json.py" "$(dirname "$0")/../../docs/vexa-decode.schema.json" \
        "$1" $3 || fail "$2: does not follow the schema"
}

# wait_for FILE TEXT: until FILE holds TEXT, at most wait_limit tenths.
wait_for() {
    i=0
    until grep -q "$2" "$1" 2>/dev/null; do
        i=$((i + 1))
        [ $i -gt "$wait_limit" ] && return 1
        sleep 0.1
    done
}

# wait_exit PID: its exit code, or 124 (killed) after wait_limit tenths.
wait_exit() {
    i=0
    while kill -0 "$1" 2>/dev/null; do
        i=$((i + 1))
        if [ $i -gt "$wait_limit" ]; then
            kill -KILL "$1"
            return 124
        fi
        sleep 0.1
    done
    wait "$1"
}

# two_reports_json LINE: the --all --json document of a clipboard that held
# the report 0=10 on line 3 and the report 60=3C on LINE.
two_reports_json() {
    cat <<EOF
[{"source": "clipboard", "prefix": null, "report": 1, "line": 3, "complete": true, "reason": null,
  "messages": [],
  "lines": [{"label": "Diag Command Specification rev.", "values": ["1.0"],
             "raw": [{"key": "0", "value": "10"}]}],
  "blocks": [{"line": 3, "tokens": [{"key": "0", "value": "10"}], "unparsed": null}]},
 {"source": "clipboard", "prefix": null, "report": 2, "line": $1, "complete": true, "reason": null,
  "messages": [],
  "lines": [{"label": "Termination Cause", "values": ["Carrier Lost"],
             "raw": [{"key": "60", "value": "3C"}]}],
  "blocks": [{"line": $1, "tokens": [{"key": "60", "value": "3C"}], "unparsed": null}]}]
EOF
}

# check_two_copies WATCH_OUTPUT: the watch printed the report of the first
# copy, then that of the second, each under its heading.
check_two_copies() {
    tr -d '\r' <"$1" | sed 's/ at [0-9:]* ===$/ ===/' >"$work/plain"
    printf '=== clipboard 1 ===\n%s\n=== clipboard 2 ===\n%s\n' \
        'Diag Command Specification rev.: 1.0' 'Termination Cause              : Carrier Lost' \
        >"$work/expected"
    if ! cmp -s "$work/expected" "$work/plain"; then
        fail "--watch output differs"
        diff "$work/expected" "$work/plain" >&2
    fi
}
