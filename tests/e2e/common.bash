# Shared set-up of the end-to-end tests, sourced with the program folder as $1: a private copy of
# the program folder ($WORK/prog) and of the data folder, a private X server, and start_game, which
# starts the real game and waits for its window and its menu. Sets WID, WX, WY, WIDTH, HEIGHT, SCALE.
# GAME_EXE is the executable start_game runs and GAME_FILES the folder it writes its maps into.
PROGRAM_DIR=$(cd "${1:?program folder}" && pwd)
WORK=$(mktemp -d)
XVFB_PID=""
GAME_PID=""
WID=""
WX=0
WY=0
SCALE=1

e2e_cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$WORK"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$WORK/game.log" ] && sed -n 1,40p "$WORK/game.log" >&2
  exit 1
}

# The game runs from a copy, so screenshots, settings and scores stay out of the build.
cp -r "$PROGRAM_DIR" "$WORK/prog"
rm -f "$WORK/prog"/Vorlan\ Pic*.jpg
GAME_EXE="$WORK/prog/vorlan"
GAME_FILES="$WORK/prog"
export XDG_DATA_HOME="$WORK/data"
mkdir -p "$XDG_DATA_HOME/vorlan"

# A free display of our own; another test starting at the same moment may take one first.
start_x() {
  for n in $(seq 100 160); do
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

# Starts the game and waits until its window shows the menu (a first start makes the maps first).
start_game() {
  "$GAME_EXE" >>"$WORK/game.log" 2>&1 &
  GAME_PID=$!
  WID=""
  for _ in $(seq 300); do
    WID=$(xdotool search --name "^Vorlan: Iron Meadow$" 2>/dev/null | head -1 || true)
    [ -n "$WID" ] && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during start-up"
    sleep 0.1
  done
  [ -n "$WID" ] || fail "no window captioned \"Vorlan: Iron Meadow\""
  for _ in $(seq 600); do
    [ -e "$GAME_FILES/Pictures/Map04.bmp" ] && break
    sleep 0.1
  done
  [ -e "$GAME_FILES/Pictures/Map04.bmp" ] || fail "the terrain maps were not generated"
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  WX=$X
  WY=$Y
  SCALE=$((WIDTH / 300))
  [ "$SCALE" -ge 1 ] || fail "client area ${WIDTH}x${HEIGHT} narrower than the field"
  xdotool windowfocus "$WID" 2>/dev/null || true
  sleep 0.3
}

# Holds a key long enough for the game's keyboard poll to see it.
press() {
  xdotool keydown "$1"
  sleep 0.25
  xdotool keyup "$1"
}

# Moves the cursor to a Field pixel.
point() { xdotool mousemove $((WX + $1 * SCALE + SCALE / 2)) $((WY + $2 * SCALE + SCALE / 2)); }

# Clicks a menu item whose text starts at (x, y) on Field.
click_item() {
  point $(($1 + 4)) $(($2 + 6))
  sleep 0.3
  xdotool mousedown 1
  sleep 0.3
  xdotool mouseup 1
  sleep 0.5
}

# Quits with X (on a menu screen) and checks the exit status.
stop_game() {
  press x
  for _ in $(seq 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$GAME_PID" 2>/dev/null; then fail "the game did not end on X"; fi
  wait "$GAME_PID" || fail "the game ended with status $?"
  GAME_PID=""
}
