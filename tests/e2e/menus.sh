#!/usr/bin/env bash
# End to end: the real game under Xvfb, driven with xdotool. Clicks through every menu screen and
# back, takes screenshots with Insert, changes the volume with the main keyboard's keys, toggles
# options by their text and their check box, checks that a toggled option survives a restart,
# plays a game until the player dies (walking with D to the end), types a name for the new high
# score and finds it on the high-score screen after another restart.
# Usage: menus.sh <program-dir>   (SHOTS_DIR=<dir> keeps the screenshots of every screen there)
set -euo pipefail

source "$(dirname "$0")/common.bash" "$1"

rm -f "$WORK/prog/OtherFiles/HighScores.txt"

write_empty_table "$DATA/AtopVo118.vor"

start_x || fail "no X server"

# The common start, plus the check that the client area is the 300 x 378 canvas scaled.
start_menu_game() {
  start_game
  [ $((HEIGHT / SCALE)) -eq 378 ] || fail "client area ${WIDTH}x${HEIGHT} is not 300 x 378 scaled"
}

shot() {
  point 290 290  # cursor out of the way
  sleep 0.4
  import -window "$WID" "$SHOTS/$1.png"
}

differs() { ! cmp -s "$SHOTS/$1.png" "$SHOTS/$2.png"; }

option_line() { sed -n "${1}p" "$OPTIONS" | tr -d ' \r'; }

# --- Every menu screen and back -------------------------------------------------------------
start_menu_game
shot main-menu
# One press of Insert is one screenshot, however long the key is held.
pictures() { find "$WORK/prog" -maxdepth 1 -name 'Vorlan Pic*.jpg' | wc -l; }
xdotool keydown Insert
sleep 1
xdotool keyup Insert
sleep 0.5
[ "$(pictures)" -eq 1 ] || fail "Insert held for a second wrote $(pictures) screenshots, not 1"
press Insert
sleep 0.5
[ "$(pictures)" -eq 2 ] || fail "a second press of Insert did not write one more screenshot ($(pictures))"
click_item 30 75
shot high-scores
differs main-menu high-scores || fail "HIGH SCORES did not open the high-score screen"
click_item 165 260
shot world-scores
differs high-scores world-scores || fail "WORLD SCORES did not open the world-score screen"
# Hovering a row shows its details; dragging the slider scrolls to the lower places.
point 90 69
sleep 0.5
import -window "$WID" "$SHOTS/world-scores-details.png"
point 275 180
xdotool mousedown 1
sleep 0.5
xdotool mouseup 1
shot world-scores-scrolled
differs world-scores world-scores-scrolled || fail "the slider did not scroll the world table"
click_item 30 260
shot back-from-world
click_item 30 100
shot options
differs main-menu options || fail "OPTIONS & GAME INFO did not open the options screen"
# The volume keys of the main keyboard: minus, "=" and "+" (Shift and "="); each click on an item
# writes the options file.
volume_before=$(option_line 8)
press minus
click_item 42 150  # Sound: Stereo, to Mono
volume_down=$(option_line 8)
press equal
click_item 42 150  # back to Stereo
volume_equal=$(option_line 8)
press plus
# A click on a row's check box toggles it as a click on its text does.
footsteps_before=$(option_line 11)
click_item 30 91  # the Foot-steps box
volume_plus=$(option_line 8)
[ "$volume_down" -lt "$volume_before" ] || fail "minus left the volume at $volume_down (was $volume_before)"
[ "$volume_equal" -gt "$volume_down" ] || fail "= left the volume at $volume_equal (was $volume_down)"
[ "$volume_plus" -gt "$volume_equal" ] || fail "+ left the volume at $volume_plus (was $volume_equal)"
[ "$(option_line 11)" != "$footsteps_before" ] || fail "a click on the Foot-steps check box did not toggle it"
snow_before=$(option_line 6)
click_item 42 50
shot options-snow-toggled
click_item 30 260
click_item 30 125
shot help
differs main-menu help || fail "HELP ME did not open the help screen"
click_item 30 260
click_item 30 150
shot about
differs main-menu about || fail "ABOUT did not open the about screen"
click_item 30 260
shot main-menu-again
stop_game

snow_after=$(option_line 6)
[ "$snow_before" != "$snow_after" ] || fail "Snow stayed $snow_before after its click"

# --- The toggled option after a restart -----------------------------------------------------
start_menu_game
click_item 30 100
shot options-after-restart
[ "$(option_line 6)" = "$snow_after" ] || fail "Snow did not survive the restart"
click_item 30 260

# --- A finished game with a qualifying score ------------------------------------------------
# A game that ends without points gets no place (and takes no proof picture); then Return starts
# the next game from the main menu, until one qualifies. The name holds an x and a q: while it is
# typed they are letters, not the quit and fire-mode keys.
proofs() { find "$WORK/prog" -ipath '*/upload/*.jpg' | wc -l; }

point 150 150
press Return
sleep 1
shot game
deadline=$((SECONDS + 420))
games=0
while ! has_name "$DATA/AtopVo118.vor" Testerxq; do
  [ "$SECONDS" -lt "$deadline" ] || fail "no game with a qualifying score in time ($games games)"
  proofs_before=$(proofs)
  # Walking right when the game ends: D is held into the name entry, repeating, and must not type.
  xdotool keydown d
  play_until_counted "$OPTIONS" "$deadline"
  games=$((games + 1))
  sleep 1.5
  xdotool keyup d
  shot name-entry
  qualified=false
  if [ "$(proofs)" != "$proofs_before" ]; then
    qualified=true
    xdotool type --delay 80 "tESTERxq"
    sleep 0.5
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while the name was typed"
    shot name-typed
  fi
  press Return
  sleep 1
  shot name-saved
  ! $qualified || has_name "$DATA/AtopVo118.vor" Testerxq || fail "the name is not Testerxq (a held key typed?)"
done
echo "qualifying game after $games game(s)"
cmp -s "$DATA/AtopVo118.vor" "$WORK/prog/OtherFiles/HighScores.txt" || fail "HighScores.txt is not a copy of the archive"

# --- The next game fires one bullet per pull: the q of the name toggled nothing ---------------
# The fire-mode icon at (250, 282) is 4 pixels wide for one bullet, 8 for two, 11 for three. One Q
# from one bullet widens it into columns 254..257 and leaves 258..260 alone.
click_item 30 260
point 150 150
press Return
sleep 1.5
shot fire-mode-start
press q
sleep 0.5
shot fire-mode-toggled
pixels_differ() {
  convert "$SHOTS/fire-mode-start.png" -crop "$1" +repage "$WORK/a.png"
  convert "$SHOTS/fire-mode-toggled.png" -crop "$1" +repage "$WORK/b.png"
  [ "$(compare -metric AE -fuzz 15% "$WORK/a.png" "$WORK/b.png" null: 2>&1)" != 0 ]
}
pixels_differ 4x11+254+282 || fail "one Q did not widen the fire-mode icon from one bullet"
! pixels_differ 3x11+258+282 || fail "the game after the name entry did not start with one bullet per pull"
press Escape
sleep 0.5
stop_game

# --- The name on the high-score screen after a restart --------------------------------------
start_menu_game
click_item 30 75
shot high-scores-after-restart
has_name "$DATA/AtopVo118.vor" Testerxq || fail "the name typed with x and q is not in the table after a restart"
point 90 55
sleep 0.5
import -window "$WID" "$SHOTS/high-scores-details.png"
click_item 30 260
stop_game

echo "menus end to end: ok (screenshots in $SHOTS)"
