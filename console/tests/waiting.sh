# Sourced by the clipboard tests: failure bookkeeping and bounded waits, so
# that a program that never answers fails the test instead of hanging it.
# Set wait_limit (tenths of a second) before sourcing to change the bound.
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
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
