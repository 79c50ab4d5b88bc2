#!/usr/bin/env bash
# End to end: the installed game. Installs into a temporary prefix, makes it read-only and runs the
# installed game as a player with a fresh home: a game played to its end, an option toggled, a
# screenshot, quit; after a restart the option is kept, the player's files are in
# ~/.local/share/vorlan and nothing under the prefix changed (compared by checksums too, since root
# writes to read-only folders). Then the same with the Debian package, where the machine lets the
# test install one (root with apt and dpkg, no vorlan package installed already); removing it
# must leave the player's files alone.
# Usage: install.sh <program-dir>   (bin/ of a build folder)
set -euo pipefail

source "$(dirname "$0")/common.bash" "$1"
BUILD_DIR=$(cd "$PROGRAM_DIR/.." && pwd)
mkdir -p "$WORK/cwd"
PACKAGE_INSTALLED=0

# Every file and folder under a prefix with its checksum.
listing() { (cd "$1" && find . -printf '%y %p\n' | sort && find . -type f -print0 | sort -z | xargs -0 md5sum); }

# Fresh player: no XDG settings, a new home. The game starts from a folder it must not write to.
new_player() {
  unset XDG_DATA_HOME XDG_CONFIG_HOME
  export HOME="$WORK/$1"
  mkdir -p "$HOME"
  DATA="$HOME/.local/share/vorlan"
  GAME_FILES="$DATA"
}
run_game() {
  cd "$WORK/cwd"
  start_game
  cd "$WORK"
}
option_line() { sed -n "${1}p" "$DATA/OtherFiles/Options.txt" | tr -d ' \r'; }
screenshot() {
  press Insert
  for _ in $(seq 50); do [ -s "$DATA/Vorlan Pic$1.jpg" ] && return 0; sleep 0.1; done
  fail "Insert wrote no \"Vorlan Pic$1.jpg\" into $DATA"
}

# Plays one game: fires around the field until the player has died and the game is counted, then
# names the result if it took a place (the proof picture shows that) and returns to the main menu.
play_game() {
  local before i=0 deadline=$((SECONDS + 400))
  before=$(option_line 10)
  point 150 150
  press Return
  sleep 1
  while [ "$(option_line 10)" = "$before" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the game did not end"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during play"
    case $((i % 4)) in 0) point 150 20 ;; 1) point 280 150 ;; 2) point 150 280 ;; 3) point 20 150 ;; esac
    xdotool mousedown 1
    sleep 0.2
    xdotool mouseup 1
    i=$((i + 1))
  done
  sleep 1.5
  import -window "$WID" "$SHOTS/game-over.png"
  echo "game over after $i shots"
  if ls "$DATA"/Upload/*.jpg >/dev/null 2>&1; then
    xdotool type --delay 80 "Tester"
    press Return
    sleep 1
  fi
  press Escape
  sleep 0.5
}

# --- Installed from source into a read-only prefix -------------------------------------------
PREFIX="$WORK/prefix"
trap 'chmod -R u+w "$PREFIX" 2>/dev/null; e2e_cleanup' EXIT
cmake --install "$BUILD_DIR" --prefix "$PREFIX" >/dev/null || fail "cmake --install failed"
for f in bin/vorlan share/vorlan/Pictures/MainMenu.jpg share/vorlan/Sounds/BulletFire.wav \
  share/vorlan/OtherFiles/Options.txt share/applications/vorlan.desktop share/man/man6/vorlan.6.gz \
  share/icons/hicolor/16x16/apps/vorlan.png share/icons/hicolor/256x256/apps/vorlan.png; do
  [ -s "$PREFIX/$f" ] || fail "not installed: $f"
done
for f in share/vorlan/Upload share/vorlan/Pictures/Map01.bmp share/vorlan/contact-sheet.png; do
  [ ! -e "$PREFIX/$f" ] || fail "installed although the game writes it: $f"
done
desktop-file-validate "$PREFIX/share/applications/vorlan.desktop" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$PREFIX"/share/metainfo/*.metainfo.xml >/dev/null ||
  fail "the metainfo does not validate"
chmod -R a-w "$PREFIX"
listing "$PREFIX" >"$WORK/prefix-before"

new_player home
start_x || fail "no X server"
GAME_EXE="$PREFIX/bin/vorlan"
run_game
play_game
click_item 30 100 # OPTIONS & GAME INFO
snow_before=$(option_line 6)
click_item 42 50 # Snow
click_item 30 260
screenshot 1
stop_game
snow_after=$(option_line 6)
[ "$snow_before" != "$snow_after" ] || fail "Snow stayed $snow_before after its click"
[ "$(option_line 10)" -ge 1 ] || fail "the finished game was not counted in the player's options"

run_game
screenshot 2
stop_game
[ "$(option_line 6)" = "$snow_after" ] || fail "Snow did not survive the restart"
for f in OtherFiles/Options.txt AtopVo118.vor Pictures/Map01.bmp "Vorlan Pic1.jpg" "Vorlan Pic2.jpg"; do
  [ -s "$DATA/$f" ] || fail "the player's folder has no $f"
done
listing "$PREFIX" | diff "$WORK/prefix-before" - >&2 || fail "files under the prefix changed"
[ -z "$(ls -A "$WORK/cwd")" ] || fail "the game wrote into the folder it was started from"
chmod -R u+w "$PREFIX"
echo "installed from source: ok"

# --- The Debian package ----------------------------------------------------------------------
if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null || ! command -v cpack >/dev/null; then
  echo "install end to end: ok (Debian package skipped: needs root with apt-get)"
  exit 0
fi
if dpkg-query -W -f='${Status}' vorlan 2>/dev/null | grep -q "ok installed"; then
  echo "install end to end: ok (Debian package skipped: vorlan is already installed here)"
  exit 0
fi
remove_package() {
  if [ "$PACKAGE_INSTALLED" -eq 1 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq -o DPkg::Lock::Timeout=300 vorlan >/dev/null 2>&1 || true
  fi
  PACKAGE_INSTALLED=0
}
trap 'remove_package; chmod -R u+w "$PREFIX" 2>/dev/null; e2e_cleanup' EXIT
# Other checkouts on this machine may run this test at the same moment: one package at a time.
exec 9>/tmp/vorlan-package-test.lock
flock 9
cpack -G DEB --config "$BUILD_DIR/CPackConfig.cmake" -B "$WORK/package" >"$WORK/cpack.log" 2>&1 || fail "cpack failed"
DEB=$(ls "$WORK"/package/vorlan_*_amd64.deb)
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for d in libsdl2-2.0 libsdl2-image libsdl2-ttf libcurl libjpeg fonts-liberation; do
  [[ "$DEPENDS" == *"$d"* ]] || fail "the package does not depend on $d: $DEPENDS"
done
PACKAGE_INSTALLED=1
(cd "$(dirname "$DEB")" && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=300 \
  "./$(basename "$DEB")" >"$WORK/apt.log" 2>&1) || fail "apt-get install of the package failed: $(tail -5 "$WORK/apt.log")"
[ -x /usr/bin/vorlan ] || fail "the package installed no /usr/bin/vorlan"

new_player deb-home
GAME_EXE=/usr/bin/vorlan
listing /usr/share/vorlan >"$WORK/package-before"
run_game
screenshot 1
stop_game
[ -s "$DATA/OtherFiles/Options.txt" ] || fail "the packaged game gave the player no options"
dpkg --verify vorlan || fail "files of the package changed"
listing /usr/share/vorlan | diff "$WORK/package-before" - >&2 || fail "files under /usr/share/vorlan changed"
remove_package
[ ! -e /usr/bin/vorlan ] || fail "removing the package left /usr/bin/vorlan"
[ -s "$DATA/Vorlan Pic1.jpg" ] && [ -s "$DATA/OtherFiles/Options.txt" ] || fail "removing the package took the player's files"
echo "install end to end: ok (from source and as a Debian package)"
