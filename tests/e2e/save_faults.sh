#!/usr/bin/env bash
# End to end: a score that cannot be saved is not lost. The data folder is a tiny tmpfs filled to
# the last byte (or, where tmpfs cannot be mounted, a read-only folder); a qualifying game ends,
# the window says "SCORE NOT SAVED: ...", standard error says why, the archive is untouched;
# once there is space again the next save (a menu click) writes the result.
# Usage: save_faults.sh <program-dir>   (SHOTS_DIR=<dir> keeps the screenshots there)
set -euo pipefail

source "$(dirname "$0")/common.bash" "$1"
SHOTS=${SHOTS_DIR:-$WORK/shots}
mkdir -p "$SHOTS"
DATA="$XDG_DATA_HOME/vorlan"
OPTIONS="$WORK/prog/OtherFiles/Options.txt"
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

# An empty local table, so that any finished game with points gets a place.
python3 - "$ARCHIVE" <<'PY'
import sys
line = "     K=    T=      A=   R=   B=   M=    MH=    MA=    TP=     HD=        ??????????" + " N="
rec = bytes(c ^ 0x5A for c in line.encode("cp1252"))
with open(sys.argv[1], "wb") as f:
    for _ in range(11):
        f.write(rec + b"\r\n")
    f.write(b"END\r\n")
PY
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

press() {
  xdotool keydown "$1"
  sleep 0.25
  xdotool keyup "$1"
}
point() { xdotool mousemove $((WX + $1 * SCALE + SCALE / 2)) $((WY + $2 * SCALE + SCALE / 2)); }
shot() {
  point 150 150
  sleep 0.4
  import -window "$WID" "$SHOTS/$1.png"
}
option_line() { sed -n "${1}p" "$OPTIONS" | tr -d ' \r'; }
# Pixels of the notice band (dark red) at the bottom of the field.
notice_pixels() {
  convert "$SHOTS/$1.png" -crop "$((300 * SCALE))x$((30 * SCALE))+0+$((270 * SCALE))" +repage -alpha off \
    -fuzz 4% -fill black +opaque "#400000" -fill white -opaque "#400000" -format "%[fx:round(mean*w*h)]" info:
}
has_name() {
  python3 - "$ARCHIVE" <<'PY'
import sys
try:
    data = open(sys.argv[1], "rb").read()
except OSError:
    sys.exit(1)
names = [bytes(c ^ 0x5A for c in l).decode("cp1252")[85:].strip() for l in data.split(b"\r\n")[:11]]
sys.exit(0 if "Tester" in names else 1)
PY
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
  times_before=$(option_line 10)
  i=0
  while [ "$(option_line 10)" = "$times_before" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the game did not end"
    case $((i % 4)) in
      0) point 150 20 ;; 1) point 280 150 ;; 2) point 150 280 ;; 3) point 20 150 ;;
    esac
    xdotool mousedown 1
    sleep 0.2
    xdotool mouseup 1
    i=$((i + 1))
  done
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
has_name && fail "the result was reported saved"
ls "$DATA" | grep -q '\.tmp' && fail "a temporary file was left in the data folder"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended"

# Space again: the next save (a menu click writes the options) takes the score along.
mend_disk
point 34 266
sleep 0.3
xdotool mousedown 1
sleep 0.3
xdotool mouseup 1
for _ in $(seq 30); do has_name && break; sleep 0.2; done
has_name || fail "the result was not saved at the next save"
echo "PASS: \"SCORE NOT SAVED: $REASON\" shown after $games game(s); saved at the next save"
