#!/bin/sh
# fresh-home-run.sh: runs ./run the way a newcomer does, in a fresh HOME and
# without an X display, so that the Wine prefix is created on the way, and
# checks that it ends by itself with exit code 0, leaves the window's
# screenshot, and leaves no process of its own behind.
cd "$(dirname "$0")/.." || exit 1
limit=600
shot=build/run-screenshot.png
work=$(mktemp -d) || exit 1
home=$work/home
mkdir "$home"
runner=""

# left_over: the processes that still carry our fresh HOME, one a line.
left_over() {
    for environ in /proc/[0-9]*/environ; do
        if { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "HOME=$home"; then
            pid=${environ#/proc/}
            pid=${pid%/environ}
            echo "$pid $({ tr '\0' ' ' <"/proc/$pid/cmdline"; } 2>/dev/null)"
        fi
    done
}
cleanup() {
    trap - EXIT INT TERM HUP
    [ -n "$runner" ] && kill "$runner" 2>/dev/null && wait "$runner"
    for pid in $(left_over | cut -d' ' -f1); do kill -KILL "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

rm -f "$shot"
start=$(date +%s)
env -u DISPLAY -u WAYLAND_DISPLAY -u WINEPREFIX -u WINELOADER HOME="$home" \
    timeout "$limit" ./run >"$work/run.log" 2>&1 &
runner=$!
wait "$runner"
rc=$?
runner=""
echo "./run in a fresh HOME: exit code $rc after $(($(date +%s) - start)) s"

case $rc in
    0) ;;
    124) fail "./run did not end within $limit s" ;;
    *) fail "./run ended with exit code $rc" ;;
esac
[ -f "$home/.wine-vexa/system.reg" ] || fail "./run did not make its Wine prefix in the fresh HOME"
# A PNG of window size with more than a blank area in it.
picture=$(identify -format '%m %w %h %k' "$shot" 2>/dev/null)
set -- $picture
if [ "${1:-}" != PNG ] || [ "${2:-0}" -lt 300 ] || [ "${3:-0}" -lt 200 ] ||
    [ "${4:-0}" -lt 3 ]; then
    fail "no screenshot of the window in $shot (${picture:-missing})"
fi

# What ./run started ends before it does.
if [ -n "$(left_over)" ]; then
    fail "./run left processes running:"
    left_over >&2
fi

if [ $failed -ne 0 ]; then
    echo "--- the end of ./run's output:" >&2
    tail -n 30 "$work/run.log" >&2
fi
exit $failed
