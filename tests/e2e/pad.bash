# The test controller, shared by tests/e2e/controller.sh and scripts/windows-test: the game plays the
# lines appended to the file $PAD (named to it by VORLAN_TEST_CONTROLLER), one command a step,
# several steps a frame.
pad() {
  echo "$*" >>"$PAD"
  sleep 0.12
}
button() {
  pad button "$1" 1
  pad button "$1" 0
}
stick() {
  pad axis "$1x" "$2"
  pad axis "$1y" "$3"
}
# True when the window picture $1 shows the pause menu's RESUME GAME (navy text at x 30 to 130,
# y 25 to 37 of the field, the canvas at SCALE from OFFX, OFFY).
paused() {
  [ "$(convert "$1" -crop "$(awk -v s="${SCALE:-1}" -v ox="${OFFX:-0}" -v oy="${OFFY:-0}" \
    'BEGIN { printf "%dx%d+%d+%d", 100 * s, 12 * s, ox + 30 * s, oy + 25 * s }')" +repage -alpha off \
    -fuzz 12% -fill black +opaque "#000080" -fill white -opaque "#000080" \
    -format "%[fx:round(mean*w*h)]" info:)" -gt 30 ]
}
