#!/usr/bin/env bash
# End to end: the real game played with a game controller alone (a virtual one, which the game
# attaches only for the tests). Start begins a game; pulling the controller out pauses it and Start
# resumes it; the left stick walks, the right stick aims, the right trigger shoots and the left one
# calls a bomb run until the player dies; the D-pad writes the name and A ends the entry. The hits
# and the blast were felt as rumbles. After a restart the stick and A open the high scores, where
# the name stands.
# Usage: controller.sh <program-dir>   (SHOTS_DIR=<dir> keeps the screenshots there)
set -euo pipefail

source "$(dirname "$0")/common.bash" "$1"
PAD="$WORK/pad.txt"
: >"$PAD"
export VORLAN_TEST_CONTROLLER="$PAD"

rm -f "$WORK/prog/OtherFiles/HighScores.txt"
write_empty_table "$DATA/AtopVo118.vor"

source "$(dirname "$0")/pad.bash"
shot() { import -window "$WID" "$SHOTS/$1.png"; }
games_played() { sed -n 10p "$OPTIONS" 2>/dev/null | tr -d ' \r'; }
proofs() { find "$WORK/prog" -ipath '*/upload/*.jpg' | wc -l; }

start_x || fail "no X server"
start_game
pad attach
sleep 0.5

# --- Games until one makes the table ---------------------------------------------------------
AIMS=("32767 0" "23170 23170" "0 32767" "-23170 23170" "-32767 0" "-23170 -23170" "0 -32767" "23170 -23170")
deadline=$((SECONDS + 480))
games=0
while :; do
  [ "$SECONDS" -lt "$deadline" ] || fail "no game with a qualifying score in time ($games games)"
  before=$(games_played)
  proofs_before=$(proofs)
  button start
  sleep 1
  # In the first game: pulled out, the controller pauses the game, and plugged in again its Start
  # resumes it; a bomb run on the aim, close to the player. Then round and round with the trigger
  # held.
  if [ "$games" -eq 0 ]; then
    shot 01-game-started
    paused "$SHOTS/01-game-started.png" && fail "Start did not start a game"
    pad detach
    sleep 0.5
    shot 02-pulled-out
    paused "$SHOTS/02-pulled-out.png" || fail "pulling the controller out did not pause the game"
    pad attach
    button start
    sleep 0.5
    shot 03-resumed
    paused "$SHOTS/03-resumed.png" && fail "Start did not resume the paused game"
    stick right -32767 0
    pad axis lefttrigger 32767
    pad axis lefttrigger 0
  fi
  pad axis righttrigger 32767
  i=0
  while [ "$(games_played)" = "$before" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the game did not end"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended unexpectedly"
    stick right ${AIMS[$((i % 8))]}
    case $((i % 16)) in
      3) stick left -32767 0 ;;
      5) stick left 0 0 ;;
      11) stick left 32767 20000 ;;
      13) stick left 0 0 ;;
    esac
    [ "$games" -gt 0 ] || [ "$i" -ne 6 ] || shot 04-aiming
    i=$((i + 1))
  done
  pad axis righttrigger 0
  stick left 0 0
  stick right 0 0
  games=$((games + 1))
  sleep 1
  [ "$(proofs)" != "$proofs_before" ] && break
done
shot 05-name-entry

# --- The name with the D-pad: C, then b, then 9 (down from A runs through space to the digits),
# one letter more and taken back; A ends the entry.
for b in dpup dpup dpup dpright dpup dpright dpdown dpdown dpright dpleft; do button "$b"; done
sleep 0.5
shot 06-name-written
button a
sleep 1
shot 07-name-saved
has_name "$DATA/AtopVo118.vor" Cb9 || fail "the name written with the D-pad is not in the table"
# The game writes what the test pad feels to its log.
felt() { grep -q "^vorlan: test pad rumble $1\$" "$WORK/game.log"; }
felt "49152 36864" || fail "no blast rumble near the player"
felt "6144 20480" || fail "no rumble of a hit"
felt "0 0" || fail "a rumble did not end"
stop_game

# --- After a restart: the stick takes the cursor into the top-left corner, then right, then slowly
# down until HIGH SCORES lights up; A opens it.
: >"$PAD"
start_game
pad attach
sleep 0.5
# White text where HIGH SCORES stands (x 30 to 118, y 77 to 87 of the field) while it is hovered.
lit() {
  import -window "$WID" "$WORK/hover.png"
  convert "$WORK/hover.png" -crop "$(awk -v s="$SCALE" -v ox="$OFFX" -v oy="$OFFY" \
    'BEGIN { printf "%dx%d+%d+%d", 80 * s, 10 * s, ox + 38 * s, oy + 77 * s }')" +repage -alpha off \
    -fill black +opaque white -fill white -opaque white -format "%[fx:round(mean*w*h)]" info:
}
stick left -32767 -32767
sleep 1.5
pad axis lefty 0
pad axis leftx 20000
sleep 0.9  # some 70 pixels to the right, give or take 40
pad axis leftx 0
pad axis lefty 12000
found=0
for _ in $(seq 200); do
  if [ "$(lit)" -gt 20 ]; then found=1; break; fi
done
pad axis lefty 0
[ "$found" -eq 1 ] || fail "the stick never brought the cursor onto HIGH SCORES"
shot 08-on-high-scores
button a
sleep 1
shot 09-high-scores
changed=$(compare -metric AE -fuzz 10% "$SHOTS/08-on-high-scores.png" "$SHOTS/09-high-scores.png" null: 2>&1 || true)
awk -v n="$changed" 'BEGIN { exit !(n > 2000) }' || fail "A on HIGH SCORES did not open the high-score screen ($changed pixels changed)"
has_name "$DATA/AtopVo118.vor" Cb9 || fail "the name is not in the table after a restart"
stop_game

echo "controller end to end: ok ($games game(s), rumbles felt; screenshots in $SHOTS)"
