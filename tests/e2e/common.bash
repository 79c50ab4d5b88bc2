# Shared set-up of the end-to-end tests, sourced with the program folder as $1: a private copy of
# the program folder ($WORK/prog) and of the data folder, a private X server, and start_game, which
# starts the real game and waits for its window and its menu. Sets WID, WX, WY, WIDTH, HEIGHT, SCALE,
# OFFX, OFFY.
# GAME_EXE is the executable start_game runs and GAME_FILES the folder it writes its maps into.
source "$(dirname "${BASH_SOURCE[0]}")/xserver.bash"
PROGRAM_DIR=$(cd "${1:?program folder}" && pwd)
WORK=$(mktemp -d)
GAME_PID=""
WID=""
WX=0
WY=0
SCALE=1
OFFX=0
OFFY=0

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
# The game's own settings stay private too; the window opens at the canvas size, one game pixel
# to one screen pixel, as if the player had left it so (window.sh starts without this file).
export XDG_CONFIG_HOME="$WORK/config"
SETTINGS="$XDG_CONFIG_HOME/vorlan/settings.txt"
mkdir -p "$XDG_CONFIG_HOME/vorlan"
printf 'window_width=300\nwindow_height=378\n' >"$SETTINGS"
# Screenshots of the run (SHOTS_DIR keeps them), the player's folder and the options file.
SHOTS=${SHOTS_DIR:-$WORK/shots}
mkdir -p "$SHOTS"
DATA="$XDG_DATA_HOME/vorlan"
OPTIONS="$WORK/prog/OtherFiles/Options.txt"

# Starts the game and waits until its window shows the menu (a first start makes the maps first).
start_game() {
  "$GAME_EXE" >>"$WORK/game.log" 2>&1 &
  GAME_PID=$!
  WID=""
  # A loaded machine can take a while to bring the window up.
  for _ in $(seq 600); do
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
  measure_window
  xdotool windowfocus "$WID" 2>/dev/null || true
  sleep 0.3
}

# The client area from the display server, and the canvas in it as the game fits it: whole
# factors of two or more letterboxed, else the fractional fit. Sets WX, WY, WIDTH, HEIGHT, SCALE
# (a whole number when the scale is whole), OFFX and OFFY (the canvas's corner in the window).
measure_window() {
  eval "$(xdotool getwindowgeometry --shell "$WID")"
  WX=$X
  WY=$Y
  read -r SCALE OFFX OFFY < <(awk -v W="$WIDTH" -v H="$HEIGHT" 'BEGIN {
    whole = int(W / 300) < int(H / 378) ? int(W / 300) : int(H / 378)
    s = whole >= 2 ? whole : (W / 300 < H / 378 ? W / 300 : H / 378)
    printf "%.10g %d %d\n", s, int((W - int(300 * s + 0.5)) / 2), int((H - int(378 * s + 0.5)) / 2) }')
  [ "$WIDTH" -ge 100 ] || fail "client area ${WIDTH}x${HEIGHT} too small"
}

# Holds a key long enough for the game's keyboard poll to see it.
press() {
  xdotool keydown "$1"
  sleep 0.25
  xdotool keyup "$1"
}

# Moves the cursor to a Field pixel.
point() {
  xdotool mousemove $(awk -v s="$SCALE" -v x="$1" -v y="$2" -v ox=$((WX + OFFX)) -v oy=$((WY + OFFY)) \
    'BEGIN { printf "%d %d", ox + (x + 0.5) * s, oy + (y + 0.5) * s }')
}

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

# Writes an empty local table (eleven blank records) to the archive $1, so that any finished
# game with points gets a place.
write_empty_table() {
  python3 - "$1" <<'PY'
import sys
line = "     K=    T=      A=   R=   B=   M=    MH=    MA=    TP=     HD=        ??????????" + " N="
rec = bytes(c ^ 0x5A for c in line.encode("cp1252"))
with open(sys.argv[1], "wb") as f:
    for _ in range(11):
        f.write(rec + b"\r\n")
    f.write(b"END\r\n")
PY
}

# True when the archive $1 holds a result named $2.
has_name() {
  python3 - "$1" "$2" <<'PY'
import sys
try:
    data = open(sys.argv[1], "rb").read()
except OSError:
    sys.exit(1)
names = [bytes(c ^ 0x5A for c in l).decode("cp1252")[85:].strip() for l in data.split(b"\r\n")[:11]]
sys.exit(0 if sys.argv[2] in names else 1)
PY
}

# Fires around the field until the running game has ended and been counted in the options file
# $1 (its games-played line grows), failing after the time $2 (in $SECONDS).
play_until_counted() {
  local before i=0
  before=$(sed -n 10p "$1" | tr -d ' \r')
  while [ "$(sed -n 10p "$1" | tr -d ' \r')" = "$before" ]; do
    [ "$SECONDS" -lt "$2" ] || fail "the game did not end"
    case $((i % 8)) in
      0) point 150 20 ;; 1) point 280 20 ;; 2) point 280 150 ;; 3) point 280 280 ;;
      4) point 150 280 ;; 5) point 20 280 ;; 6) point 20 150 ;; 7) point 20 20 ;;
    esac
    xdotool mousedown 1
    sleep 0.2
    xdotool mouseup 1
    i=$((i + 1))
  done
}
