#!/usr/bin/env bash
# End to end: the real game starts in a real X server, shows its window with the right caption
# and size, writes a screenshot on Insert and ends with status 0 on X.
# Usage: foundation.sh <program-dir>   (SHOTS_DIR=<dir> keeps a picture of the menu there)
set -euo pipefail

PROGRAM_DIR=$(cd "$1" && pwd)
WORK=$(mktemp -d)
XVFB_PID=""
GAME_PID=""

cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$WORK"  # the copy holds every screenshot the test made
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$WORK/game.log" ] && sed -n 1,40p "$WORK/game.log" >&2
  exit 1
}

# The game runs from a copy of the program folder, so screenshots and settings stay out of the build.
cp -r "$PROGRAM_DIR" "$WORK/prog"
rm -f "$WORK/prog"/Vorlan\ Pic*.jpg
export XDG_DATA_HOME="$WORK/data"

# A free display of our own; another test starting at the same moment may take one first.
start_x() {
  for n in $(seq 100 130); do
    if [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; then continue; fi
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 300); do
      if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  done
  return 1
}
start_x || fail "no X server"

"$WORK/prog/vorlan" >"$WORK/game.log" 2>&1 &
GAME_PID=$!
WID=""
for _ in $(seq 300); do
  WID=$(xdotool search --name "^Vorlan: Iron Meadow$" 2>/dev/null | head -1 || true)
  [ -n "$WID" ] && break
  kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during start-up"
  sleep 0.1
done
[ -n "$WID" ] || fail "no window captioned \"Vorlan: Iron Meadow\""
[ "$(xdotool getwindowname "$WID")" = "Vorlan: Iron Meadow" ] || fail "wrong caption"

# A first start generates the terrain maps before the menu takes keys.
for _ in $(seq 600); do
  [ -e "$WORK/prog/Pictures/Map04.bmp" ] && break
  sleep 0.1
done
[ -e "$WORK/prog/Pictures/Map04.bmp" ] || fail "the terrain maps were not generated"
sleep 1.5

eval "$(xdotool getwindowgeometry --shell "$WID")"
SCALE=$((WIDTH / 300))
[ "$SCALE" -ge 1 ] || fail "client area ${WIDTH}x${HEIGHT} narrower than the field"
[ "$WIDTH" -eq $((300 * SCALE)) ] && [ "$HEIGHT" -eq $((378 * SCALE)) ] ||
  fail "client area ${WIDTH}x${HEIGHT} is not 300 x 378 times $SCALE"
if [ -n "${SHOTS_DIR:-}" ]; then mkdir -p "$SHOTS_DIR"; import -window "$WID" "$SHOTS_DIR/menu.png"; fi

xdotool windowfocus "$WID" 2>/dev/null || true
sleep 0.3
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
