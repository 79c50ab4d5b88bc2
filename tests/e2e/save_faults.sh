#!/usr/bin/env bash
# End to end: a score that cannot be saved is not lost. The data folder is a tiny tmpfs filled to
# the last byte (or, where tmpfs cannot be mounted, a read-only folder); a qualifying game ends,
# the window says "SCORE NOT SAVED: ...", standard error says why, the archive is untouched;
# once there is space again the next save (a menu click) writes the result.
# Usage: save_faults.sh <program-dir>   (SHOTS_DIR=<dir> keeps the screenshots there)
set -euo pipefail

source "$(dirname "$0")/common.bash" "$1"
ARCHIVE="$DATA/AtopVo118.vor"

MOUNTED=""
if mount -t tmpfs -o size=64k tmpfs "$DATA" 2>/dev/null; then
  MOUNTED=1
  trap 'umount "$DATA" 2>/dev/null || true; e2e_cleanup' EXIT
  REASON="DISK FULL"
elif [ "$(id -u)" -ne 0 ]; then
  REASON="NO PERMISSION"
else
  echo "SKIP: neither a tmpfs nor a read-only folder can be made here"
  exit 0
fi

write_empty_table "$ARCHIVE"
EMPTY_TABLE=$(md5sum <"$ARCHIVE")

break_disk() {
  if [ -n "$MOUNTED" ]; then
    dd if=/dev/zero of="$DATA/filler" bs=4k >/dev/null 2>&1 || true
  else
    chmod a-w "$DATA"
  fi
}
mend_disk() {
  if [ -n "$MOUNTED" ]; then rm -f "$DATA/filler"; else chmod u+w "$DATA"; fi
}

shot() {
  point 150 150
  sleep 0.4
  import -window "$WID" "$SHOTS/$1.png"
}
# Pixels of the notice band (dark red) at the bottom of the field.
notice_pixels() {
  convert "$SHOTS/$1.png" -crop "$((300 * SCALE))x$((30 * SCALE))+0+$((270 * SCALE))" +repage -alpha off \
    -fuzz 4% -fill black +opaque "#400000" -fill white -opaque "#400000" -format "%[fx:round(mean*w*h)]" info:
}

start_x || fail "no X server"
start_game
break_disk

# Games until one gets a place: its name entry ends with the notice instead of a saved table.
point 150 150
press Return
sleep 1
deadline=$((SECONDS + 420))
games=0
told=""
while [ -z "$told" ]; do
  [ "$SECONDS" -lt "$deadline" ] || fail "no game with a qualifying score in time ($games games)"
  play_until_counted "$OPTIONS" "$deadline"
  games=$((games + 1))
  sleep 1
  xdotool type --delay 80 "tESTER"
  sleep 0.3
  press Return
  sleep 1
  shot "after-game-$games"
  if [ "$(notice_pixels "after-game-$games")" -gt $((300 * SCALE * 10 * SCALE)) ]; then told=1; fi
done
cp "$SHOTS/after-game-$games.png" "$SHOTS/score-not-saved.png"
grep -q "cannot save $ARCHIVE" "$WORK/game.log" || fail "standard error does not say what could not be saved"
[ "$(md5sum <"$ARCHIVE")" = "$EMPTY_TABLE" ] || fail "the archive changed although the save failed"
has_name "$ARCHIVE" Tester && fail "the result was reported saved"
ls "$DATA" | grep -q '\.tmp' && fail "a temporary file was left in the data folder"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended"

# Space again: the next save (a menu click writes the options) takes the score along.
mend_disk
click_item 30 260
for _ in $(seq 30); do has_name "$ARCHIVE" Tester && break; sleep 0.2; done
has_name "$ARCHIVE" Tester || fail "the result was not saved at the next save"
echo "PASS: \"SCORE NOT SAVED: $REASON\" shown after $games game(s); saved at the next save"
