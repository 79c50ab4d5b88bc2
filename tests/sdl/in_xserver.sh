#!/usr/bin/env bash
# Runs a test program of the real SDL platform on a private X server, with its own data and
# settings folders, the window at the canvas's own size and no sound device.
# Usage: in_xserver.sh <test program> [its arguments]
set -euo pipefail
source "$(dirname "$0")/../e2e/xserver.bash"
HOMES=$(mktemp -d)
trap 'kill $XVFB_PID 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$HOMES"' EXIT
mkdir -p "$HOMES/config/vorlan"
printf 'window_width=300\nwindow_height=378\n' >"$HOMES/config/vorlan/settings.txt"
start_x || { echo "FAIL: no X server" >&2; exit 1; }
# Under the sanitizers: the desktop libraries' own leaks are not the game's.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp"
XDG_DATA_HOME="$HOMES/data" XDG_CONFIG_HOME="$HOMES/config" SDL_AUDIODRIVER=dummy "$@"
