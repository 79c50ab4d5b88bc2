#!/usr/bin/env bash
# End to end: with the local score server running, the player opens HIGH SCORES, then WORLD
# SCORES, clicks SYNCHRONIZE SCORES, and the world table shows the local results; the server
# then holds the archive, the page and the proof picture. A second server on a taken port, or one
# without pyftpdlib, stops with one line saying what to do. Screenshots of the world-score screen
# and of the published page (rendered by headless Chromium) land in e2e-shots/worldscores/
# beside the program folder.
#   bash tests/e2e/worldscores.sh <program-dir>
set -euo pipefail
PROGRAM_DIR=$(cd "${1:?program folder}" && pwd)
SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
SHOTS=${VORLAN_E2E_SHOTS:-$PROGRAM_DIR/../e2e-shots/worldscores}
mkdir -p "$SHOTS"
WORK=$(mktemp -d /tmp/vorlan-e2e-ws.XXXXXX)
PIDS=()
cleanup() {
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A private copy of the program and its data folder.
cp -r "$PROGRAM_DIR" "$WORK/program"
export XDG_DATA_HOME="$WORK/data"
mkdir -p "$XDG_DATA_HOME/vorlan"
# The window at the canvas size, one game pixel to one screen pixel.
export XDG_CONFIG_HOME="$WORK/config"
mkdir -p "$XDG_CONFIG_HOME/vorlan"
printf 'window_width=300\nwindow_height=378\n' >"$XDG_CONFIG_HOME/vorlan/settings.txt"

# The score server on free ports; the game points at it through WebSite.txt.
/usr/bin/python3 "$SOURCE_DIR/scripts/score-server" --root "$WORK/server" --ftp-port 0 --http-port 0 \
  > "$WORK/server.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 100); do grep -q '^ready ' "$WORK/server.log" && break; sleep 0.1; done
HTTP_PORT=$(sed -n 's/^ready ftp=[0-9]* http=\([0-9]*\).*/\1/p' "$WORK/server.log")
[ -n "$HTTP_PORT" ] || fail "score server did not start: $(cat "$WORK/server.log")"
SITE="http://127.0.0.1:$HTTP_PORT"

# A taken port: one line naming it and the option that chooses another, and a failing status.
FTP_PORT=$(sed -n 's/^ready ftp=\([0-9]*\).*/\1/p' "$WORK/server.log")
busy() {  # busy <what> <option> <port> <arguments...>
  local what=$1 option=$2 port=$3
  shift 3
  if /usr/bin/python3 "$SOURCE_DIR/scripts/score-server" --root "$WORK/server2" "$@" >"$WORK/busy.log" 2>&1; then
    fail "a second server started on the taken $what port"
  fi
  [ "$(wc -l <"$WORK/busy.log")" -eq 1 ] && grep -q "$what port $port is taken.*$option" "$WORK/busy.log" ||
    fail "a taken $what port was reported as: $(cat "$WORK/busy.log")"
}
busy FTP --ftp-port "$FTP_PORT" --ftp-port "$FTP_PORT" --http-port 0
busy HTTP --http-port "$HTTP_PORT" --ftp-port 0 --http-port "$HTTP_PORT"
# Without pyftpdlib: the one command that installs it.
mkdir -p "$WORK/nolib/pyftpdlib"
echo 'raise ImportError("not installed")' >"$WORK/nolib/pyftpdlib/__init__.py"
if PYTHONPATH="$WORK/nolib" /usr/bin/python3 "$SOURCE_DIR/scripts/score-server" >"$WORK/nolib.log" 2>&1 ||
  ! grep -q "install it with: .*scripts/deps server$" "$WORK/nolib.log"; then
  fail "without pyftpdlib the server said: $(cat "$WORK/nolib.log")"
fi
HOME_DIR="$WORK/server/Games/Vorlan/scores"
OTHER=$(find "$WORK/program" -maxdepth 1 -iname otherfiles | head -1)
printf '%s\r\n' "$SITE" > "$OTHER/WebSite.txt"

# This player's local table (the scrambled archive) and one pending proof picture.
/usr/bin/python3 - "$XDG_DATA_HOME/vorlan/AtopVo118.vor" <<'EOF'
import sys
rows = [(4321, 155, "07:41", 6, 5, 4, 3, "Ironwood"), (2650, 96, "05:02", 4, 4, 3, 2, "Wren hollis"),
        (980, 40, "02:15", 2, 2, 1, 1, "Pike")]
def pad(v, w): return str(v).ljust(w)
out = b""
for i in range(11):
    if i < len(rows):
        s, k, t, a, r, b, m, n = rows[i]
        line = (pad(s, 5) + "K=" + pad(k, 3) + " T=" + t + " A=" + pad(a, 2) + " R=" + pad(r, 2) + " B=" + pad(b, 2)
                + " M=" + pad(m, 2) + " MH=" + pad(120, 3) + " MA=" + pad(150, 3) + " TP=" + pad(12 + i, 5)
                + "HD=" + "20261201" + "??????????" + " N=" + n)
    else:
        line = (" " * 5 + "K=" + " " * 3 + " T=" + " " * 5 + " A=  " + " R=  " + " B=  " + " M=  " + " MH=   "
                + " MA=   " + " TP=     " + "HD=" + " " * 8 + "??????????" + " N=")
    out += bytes(c ^ 0x5A for c in line.encode("cp1252")) + b"\r\n"
out += b"END\r\n"
open(sys.argv[1], "wb").write(out)
EOF
UPLOAD=$(find "$WORK/program" -maxdepth 1 -iname upload | head -1)
[ -n "$UPLOAD" ] || { UPLOAD="$WORK/program/upload"; mkdir -p "$UPLOAD"; }
PROOF=432115520261201.jpg
cp "$(find "$WORK/program" -iname 'MainLogo.jpg' | head -1)" "$UPLOAD/$PROOF"
printf '%s\r\n' "$PROOF" > "$UPLOAD/upload.txt"

# A display of our own.
DISPLAY_NUM=$(( 90 + RANDOM % 100 ))
while [ -e "/tmp/.X$DISPLAY_NUM-lock" ]; do DISPLAY_NUM=$(( DISPLAY_NUM + 1 )); done
Xvfb ":$DISPLAY_NUM" -screen 0 1024x768x24 -nolisten tcp > "$WORK/xvfb.log" 2>&1 &
PIDS+=($!)
export DISPLAY=":$DISPLAY_NUM"
for _ in $(seq 300); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo > /dev/null 2>&1 || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
"$WORK/program/vorlan" > "$WORK/game.log" 2>&1 &
GAME=$!
PIDS+=($GAME)

WIN=""
for _ in $(seq 300); do
  WIN=$(xdotool search --name "Vorlan" 2>/dev/null | head -1 || true)
  [ -n "$WIN" ] && break
  kill -0 "$GAME" 2>/dev/null || fail "the game ended: $(cat "$WORK/game.log")"
  sleep 0.2
done
[ -n "$WIN" ] || fail "no game window"
# Start-up ends after the terrain maps exist (generated on the first run).
for _ in $(seq 600); do
  [ -n "$(find "$WORK/program" -iname 'Map04.bmp' 2>/dev/null)" ] && break
  sleep 0.2
done
sleep 3

# Field pixels to window pixels: the canvas is scaled by a whole factor.
eval "$(xdotool getwindowgeometry --shell "$WIN")"
SCALE=$(( WIDTH / 300 ))
[ "$SCALE" -ge 1 ] || SCALE=1
click() {  # field x, field y
  local x=$(( $1 * SCALE + SCALE / 2 )) y=$(( $2 * SCALE + SCALE / 2 ))
  xdotool mousemove --window "$WIN" "$x" "$y"
  sleep 0.4
  xdotool mousedown 1
  sleep 0.3
  xdotool mouseup 1
  sleep 0.8
}
shot() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$SHOTS/$1.png"; }

# Item hot zones lie between y + 2 and y + 12 for size 10: aim at y + 7.
click 40 82          # HIGH SCORES
shot 1-high-scores
click 175 267        # WORLD SCORES
shot 2-world-scores-before
click 135 267        # SYNCHRONIZE SCORES
for _ in $(seq 100); do
  [ -f "$HOME_DIR/worldscoresVo118.htm" ] && break
  sleep 0.2
done
sleep 2
xdotool mousemove --window "$WIN" $(( 40 * SCALE )) $(( 57 * SCALE ))  # hover over the first row
sleep 1
shot 3-world-scores-after

# What the server and this machine now hold.
[ -f "$HOME_DIR/worldscoresVo118.htm" ] || fail "the page did not reach the server"
[ -f "$HOME_DIR/$PROOF" ] || fail "the proof picture did not reach the server"
[ ! -f "$UPLOAD/$PROOF" ] || fail "the sent proof picture is still listed locally"
cmp -s "$HOME_DIR/AtopwVo118.vor" "$XDG_DATA_HOME/vorlan/AtopwCopy.vor" || fail "backup differs from the upload"
PLAIN="$XDG_DATA_HOME/vorlan/AtopwUNCRYPTED.vor"
for name in Ironwood "Wren hollis" Pike; do
  grep -q "N=$name"$'\r' "$PLAIN" || fail "$name is not in the world table"
done
head -1 "$PLAIN" | grep -q "^4321 .*N=Ironwood" || fail "the best local result is not first"
grep -q ">Ironwood</FONT>" "$HOME_DIR/worldscoresVo118.htm" || fail "the page lacks the results"
kill -0 "$GAME" 2>/dev/null || fail "the game ended during the synchronisation"

# The published page as a browser shows it.
if command -v chromium > /dev/null; then
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=760,560 \
    --screenshot="$SHOTS/4-published-page.png" "$SITE/Games/Vorlan/scores/worldscoresVo118.htm" \
    > "$WORK/chromium.log" 2>&1 || echo "note: chromium could not render the page" >&2
fi
echo "worldscores e2e passed; screenshots in $SHOTS"
