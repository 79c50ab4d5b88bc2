#!/usr/bin/env bash
# End to end: without a display server the game says so on standard error and ends with a
# non-zero status within 10 s, instead of running unseen.
# Usage: no_display.sh <program-dir>
set -euo pipefail

source "$(dirname "$0")/common.bash" "$1"

# A display number nobody serves.
N=199
while [ -e "/tmp/.X11-unix/X$N" ] || [ -e "/tmp/.X$N-lock" ]; do N=$((N + 1)); done
set +e
START=$(date +%s)
env -u WAYLAND_DISPLAY DISPLAY=":$N" timeout -s KILL 10 "$WORK/prog/vorlan" >"$WORK/game.log" 2>&1
STATUS=$?
set -e
SECONDS_TAKEN=$(($(date +%s) - START))
[ "$STATUS" -ne 137 ] || fail "still running after 10 s without a display"
[ "$STATUS" -ne 0 ] || fail "ended with status 0 without a display"
grep -q "no display" "$WORK/game.log" || fail "no message on standard error"
echo "PASS: no display: status $STATUS after ${SECONDS_TAKEN} s: $(head -1 "$WORK/game.log")"
