#!/usr/bin/env bash
# End to end: a battle in the real game under Xvfb. Enter starts a game; held mouse shots leave
# bullets on the field; enemies walk in and shoot back; with no input the player dies, the game
# ends and the games-played count (line 10 of Options.txt) grows by one.
# Usage: battle.sh <program-dir>   (SHOTS_DIR=<dir> keeps the screenshots there)
set -euo pipefail

source "$(dirname "$0")/common.bash" "$1"
games_played() {
  if [ -f "$OPTIONS" ]; then sed -n '10p' "$OPTIONS" | tr -d ' \r'; else echo 0; fi
}

start_x || fail "no X server"
start_game

BEFORE=$(games_played)
[ -n "$BEFORE" ] || BEFORE=0

shot() { import -window "$WID" "$SHOTS/$1.png"; }
# Bullet heads and trails (yellow) on the field part of a screenshot.
yellow() {
  convert "$SHOTS/$1.png" -crop "$((300 * SCALE))x$((300 * SCALE))+0+0" +repage -alpha off \
    -fuzz 8% -fill black +opaque "#FFFF00" -fill white -opaque "#FFFF00" \
    -format "%[fx:round(mean*w*h)]" info:
}

point 150 250
sleep 0.3
press Return
sleep 1.5
shot 01-game-started
BASE=$(yellow 01-game-started)

# Shots toward the top of the field: the bullets fly while the button is held.
point 150 30
xdotool mousedown 1
sleep 0.8
shot 02-firing
sleep 0.3
shot 03-firing
xdotool mouseup 1
FIRED=$(( $(yellow 02-firing) + $(yellow 03-firing) ))
[ "$FIRED" -gt $((2 * BASE + 4)) ] || fail "no bullets seen while firing ($FIRED yellow pixels, $BASE before)"

# Hands off: enemies walk in from the edges and fight back.
point 299 299
ENEMY_FIRE=0
for i in $(seq 1 40); do
  sleep 1
  kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended unexpectedly"
  shot "04-battle-$i"
  if [ "$(yellow "04-battle-$i")" -gt $((BASE + 2)) ]; then ENEMY_FIRE=1; break; fi
done
[ "$ENEMY_FIRE" -eq 1 ] || fail "no enemy fire seen within 40 seconds"
sleep 2
shot 05-under-fire

# Without input the player dies; the next spawn step ends the game and saves the statistics.
ENDED=0
for _ in $(seq 1 400); do
  sleep 1
  kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended unexpectedly"
  NOW=$(games_played)
  if [ -n "$NOW" ] && [ "$NOW" -gt "$BEFORE" ]; then ENDED=1; break; fi
done
[ "$ENDED" -eq 1 ] || fail "the player did not die within the time allowed"
[ "$(games_played)" -eq $((BEFORE + 1)) ] || fail "games played went from $BEFORE to $(games_played)"
sleep 1
shot 06-game-over
echo "battle: ok (bullets $FIRED, games played $BEFORE -> $(games_played))"
