#!/usr/bin/env bash
# Starts the real game under Xvfb at the scales a desktop may set and checks
# the window's size in device pixels: 527 x 367 at 1x, twice that at
# Xft.dpi 192 and at QT_SCALE_FACTOR=2, one and a half times at Xft.dpi 144.
# At 1x the window matches the committed screenshot pixel for pixel, on a
# light and on a dark (GTK Adwaita:dark) desktop alike.
#
#   screen_scale_test.sh PROGRAM SCREENSHOT
#
# With MORVANE_UPDATE_SCREENSHOT=1 the 1x screenshot is written to
# SCREENSHOT instead of compared (after a deliberate change of the look).
set -euo pipefail
program=$1
expected=$2
# A display of our own; -noreset keeps the X resources between programs.
XVFB_SCREEN=1600x1200x24 XVFB_OPTIONS=-noreset
source "$(dirname "$0")/x_session.sh"
fail() { echo "FAIL: $*" >&2; exit 1; }
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI QT_QPA_PLATFORMTHEME GTK_THEME QT_QPA_PLATFORM

# Runs the game with the given environment, leaves its window's size in
# $size ("WxH") and, with a file name given, a screenshot of the window.
run() {  # shot|- VAR=value...
  local shot=$1; shift
  env "$@" "$program" >"$work/log" 2>&1 &
  local pid=$!
  local window
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Morvane's Challenge II$" | head -n1) ||
    fail "the window did not appear ($*)"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$window")"
  size="${WIDTH}x${HEIGHT}"
  [[ $shot == - ]] || import -window "$window" "$shot"
  kill "$pid"; wait "$pid" 2>/dev/null || true
}
dpi() { printf 'Xft.dpi: %s\n' "$1" | xrdb -nocpp -load -; }

# 1x: no Xft.dpi at all, and Xft.dpi 96.
run "$work/plain.png"
[[ $size == 527x367 ]] || fail "at 1x the window is $size, not 527x367"
if [[ ${MORVANE_UPDATE_SCREENSHOT:-} == 1 ]]; then
  cp "$work/plain.png" "$expected"
  echo "wrote $expected"
fi
same_as_expected() {  # shot
  local differ
  differ=$(compare -metric AE "$1" "$expected" null: 2>&1) || true
  [[ $differ == 0 ]]
}
same_as_expected "$work/plain.png" || fail "the window at 1x differs from $(basename "$expected")"
dpi 96
run -
[[ $size == 527x367 ]] || fail "at Xft.dpi 96 the window is $size, not 527x367"

# A dark desktop changes no pixel of the game's window.
run "$work/dark.png" QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
same_as_expected "$work/dark.png" || fail "the window on a dark desktop differs from the light one"

# The desktop's scale.
dpi 192
run -
[[ $size == 1054x734 ]] || fail "at Xft.dpi 192 the window is $size, not 1054x734"
dpi 144
run -
[[ $size == 79[01]x55[01] ]] || fail "at Xft.dpi 144 the window is $size, not about 790x550"
xrdb -remove
run - QT_SCALE_FACTOR=2
[[ $size == 1054x734 ]] || fail "at QT_SCALE_FACTOR=2 the window is $size, not 1054x734"

echo "screen scales: 1x as the screenshot, light and dark; 1.5x and 2x in proportion"
