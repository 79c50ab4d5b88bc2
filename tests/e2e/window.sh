#!/usr/bin/env bash
# End to end: the window of a first start fills the screen's room smoothly, follows a resize
# (the canvas at twice its size, letterboxed), takes menu clicks at both sizes, opens at the
# resized size after a restart, and never smaller than the canvas at scale 1.
# Usage: window.sh <program-dir>   (SHOTS_DIR=<dir> keeps the screenshots there)
set -euo pipefail

source "$(dirname "$0")/common.bash" "$1"
rm -f "$SETTINGS"  # a first start: no size kept yet

start_x || fail "no X server"

option_line() { sed -n "${1}p" "$OPTIONS" | tr -d ' \r'; }

# --- First start: larger than the canvas, even where twice the canvas does not fit ----------
start_game
[ "$WIDTH" -gt 300 ] && [ "$HEIGHT" -gt 378 ] || fail "a first start opened at ${WIDTH}x${HEIGHT}"
[ "$HEIGHT" -le 768 ] || fail "the window (${WIDTH}x${HEIGHT}) is taller than the screen"
import -window "$WID" "$SHOTS/window-first-start.png"
snow_before=$(option_line 6)
click_item 30 100  # OPTIONS & GAME INFO, at the first start's scale

# --- Resized: twice the canvas, letterboxed -------------------------------------------------
xdotool windowsize "$WID" 700 760
sleep 1
measure_window
[ "$WIDTH" -eq 700 ] && [ "$HEIGHT" -eq 760 ] || fail "the window did not take the size 700x760"
import -window "$WID" "$SHOTS/window-resized.png"
click_item 42 50  # the Snow option, at the new scale
click_item 30 260 # MAIN MENU
stop_game
[ "$(option_line 6)" != "$snow_before" ] || fail "the clicks at the two sizes did not toggle Snow"
grep -q '^window_width=700$' "$SETTINGS" && grep -q '^window_height=760$' "$SETTINGS" ||
  fail "the size was not kept: $(cat "$SETTINGS" 2>/dev/null)"

# --- Restart: the kept size -----------------------------------------------------------------
start_game
[ "$WIDTH" -eq 700 ] && [ "$HEIGHT" -eq 760 ] || fail "a restart opened at ${WIDTH}x${HEIGHT}, not 700x760"
import -window "$WID" "$SHOTS/window-after-restart.png"
stop_game

# --- Never smaller than the canvas at scale 1, whatever size was kept -----------------------
printf 'window_width=150\nwindow_height=150\n' >"$SETTINGS"
start_game
[ "$WIDTH" -eq 300 ] && [ "$HEIGHT" -eq 378 ] || fail "a kept 150x150 opened at ${WIDTH}x${HEIGHT}, not 300x378"
xprop -id "$WID" WM_NORMAL_HINTS | grep -q 'minimum size: 300 by 378' ||
  fail "the window manager is not told the smallest size: $(xprop -id "$WID" WM_NORMAL_HINTS)"
stop_game

echo "window end to end: ok (screenshots in $SHOTS)"
