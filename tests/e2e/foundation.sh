#!/usr/bin/env bash
# End to end: the real game starts in a real X server, shows its window with the right caption
# and size, writes a screenshot on Insert and ends with status 0 on X.
# Usage: foundation.sh <program-dir>   (SHOTS_DIR=<dir> keeps a picture of the menu there)
set -euo pipefail

source "$(dirname "$0")/common.bash" "$1"

start_x || fail "no X server"
start_game
[ "$(xdotool getwindowname "$WID")" = "Vorlan: Iron Meadow" ] || fail "wrong caption"

[ "$WIDTH" -eq $((300 * SCALE)) ] && [ "$HEIGHT" -eq $((378 * SCALE)) ] ||
  fail "client area ${WIDTH}x${HEIGHT} is not 300 x 378 times $SCALE"
if [ -n "${SHOTS_DIR:-}" ]; then mkdir -p "$SHOTS_DIR"; import -window "$WID" "$SHOTS_DIR/menu.png"; fi

xdotool keydown Insert
sleep 0.05
xdotool keyup Insert
PIC="$WORK/prog/Vorlan Pic1.jpg"
for _ in $(seq 50); do [ -s "$PIC" ] && break; sleep 0.1; done
[ -s "$PIC" ] || fail "Insert wrote no \"Vorlan Pic1.jpg\""
sleep 0.3
SIZE=$(identify -format '%wx%h' "$PIC")
[ "$SIZE" = "300x378" ] || fail "screenshot is $SIZE, not 300x378"
if ls "$WORK/prog"/*.bmp "$WORK/prog"/Vorlan\ Pic*.bmp 2>/dev/null | grep -q .; then
  fail "a bitmap was left beside the screenshot"
fi
[ -n "${SHOTS_DIR:-}" ] && cp "$PIC" "$SHOTS_DIR/"

xdotool keydown x
sleep 0.1
xdotool keyup x 2>/dev/null || true
STATUS=""
for _ in $(seq 100); do
  if ! kill -0 "$GAME_PID" 2>/dev/null; then
    set +e
    wait "$GAME_PID"
    STATUS=$?
    set -e
    break
  fi
  sleep 0.1
done
[ -n "$STATUS" ] || fail "X did not end the game"
GAME_PID=""
[ "$STATUS" -eq 0 ] || fail "the game ended with status $STATUS"
echo "PASS: window ${WIDTH}x${HEIGHT} (scale $SCALE), screenshot $SIZE, exit status 0"
