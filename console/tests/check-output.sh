#!/bin/sh
# check-output.sh [options] -- COMMAND...: runs a vexa-decode command and
# checks what it writes and how it ends. Options:
#   --stdout FILE         standard output must equal FILE byte for byte
#   --stdout-begins TEXT  standard output must begin with TEXT
#   --stdout-json FILE    standard output must be JSON of the same value as FILE,
#                         as the checker given by --json-equal judges it
#   --json-equal COMMAND  the checker: COMMAND EXPECTED ACTUAL (words split)
#   --schema SCHEMA       standard output must be one JSON value valid under
#                         SCHEMA (validate-json.py)
#   --schema-lines SCHEMA the same for every line (JSON Lines)
#   --stderr-begins TEXT  standard error must begin with TEXT
#   --exit N              the exit code must be N (default 0)
#   --stdin FILE          standard input comes from FILE (default /dev/null)
#   --pipe                standard input comes through a pipe, not the file itself
expected_stdout="" stdout_begins="" stderr_begins="" expected_exit=0 stdin=/dev/null
expected_json="" json_equal="" schema="" schema_lines="" pipe=no
while [ $# -gt 0 ]; do
    case "$1" in
        --stdout) expected_stdout=$2; shift 2 ;;
        --stdout-begins) stdout_begins=$2; shift 2 ;;
        --stdout-json) expected_json=$2; shift 2 ;;
        --json-equal) json_equal=$2; shift 2 ;;
        --stderr-begins) stderr_begins=$2; shift 2 ;;
        --exit) expected_exit=$2; shift 2 ;;
        --stdin) stdin=$2; shift 2 ;;
        --schema) schema=$2; shift 2 ;;
        --schema-lines) schema=$2; schema_lines=--lines; shift 2 ;;
        --pipe) pipe=yes; shift ;;
        --) shift; break ;;
        *) echo "check-output.sh: unknown option $1" >&2; exit 2 ;;
    esac
done

work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
if [ $pipe = yes ]; then
    cat "$stdin" | "$@" >"$work/stdout" 2>"$work/stderr"
else
    "$@" <"$stdin" >"$work/stdout" 2>"$work/stderr"
fi
status=$?

failed=0
if [ "$status" -ne "$expected_exit" ]; then
    echo "exit code $status, expected $expected_exit" >&2
    failed=1
fi
if [ -n "$expected_stdout" ] && ! cmp -s "$expected_stdout" "$work/stdout"; then
    echo "standard output differs from $expected_stdout:" >&2
    diff "$expected_stdout" "$work/stdout" | cat -A >&2
    failed=1
fi
if [ -n "$expected_json" ]; then
    # shellcheck disable=SC2086 # the checker may come behind an emulator
    $json_equal "$expected_json" "$work/stdout" || failed=1
fi
if [ -n "$schema" ] &&
    ! python3 "$(dirname "$0")/validate-json.py" "$schema" "$work/stdout" $schema_lines; then
    echo "standard output does not follow $schema" >&2
    failed=1
fi
begins() {
    length=$(printf '%s' "$2" | wc -c)
    [ "$(head -c "$length" "$1")" = "$2" ]
}
if [ -n "$stdout_begins" ] && ! begins "$work/stdout" "$stdout_begins"; then
    echo "standard output does not begin with '$stdout_begins'" >&2
    failed=1
fi
if [ -n "$stderr_begins" ] && ! begins "$work/stderr" "$stderr_begins"; then
    echo "standard error does not begin with '$stderr_begins'" >&2
    failed=1
fi
if [ "$failed" -ne 0 ]; then
    echo "--- standard error:" >&2
    cat "$work/stderr" >&2
fi
exit "$failed"
