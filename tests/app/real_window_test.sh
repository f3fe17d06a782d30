#!/usr/bin/env bash
# Plays the real game under Xvfb with real mouse clicks, drags and keys
# (xdotool), and checks what the screen shows: a board built by dragging,
# a game won to its message box and a fresh board, and a game lost with the
# same board coming back.
#
#   real_window_test.sh PROGRAM
set -euo pipefail
program=$1
# A display of our own, silent sound, a work folder.
source "$(dirname "$0")/x_session.sh"

fail() { echo "FAIL: $*" >&2; import -window root "$work/failure.png" 2>/dev/null && cp "$work/failure.png" /tmp/real_window_failure.png; exit 1; }

"$program" >/dev/null 2>&1 &
pids+=($!)
main=$(timeout 20 xdotool search --sync --onlyvisible --name "^Morvane's Challenge II$" | head -n1)
[[ -n $main ]] || fail "the window did not appear"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$main")"
[[ $WIDTH == 527 && $HEIGHT == 367 ]] || fail "window is ${WIDTH}x${HEIGHT}, not 527x367"
origin_x=$X origin_y=$Y

# Window coordinates of the controls' centres.
cell_x() { echo $((origin_x + 176 + 48 * (($1 - 1) % 7) + 24)); }
cell_y() { echo $((origin_y + 96 + 48 * (($1 - 1) / 7) + 24)); }
click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.15; }
click_cell() { click_at "$(cell_x "$1")" "$(cell_y "$1")"; }
click_code_button() { click_at $((origin_x + 8 + 288 + 20)) $((origin_y + 16 + 24 + 12)); }
type_box() {  # box text
  click_at $((origin_x + 16 + 40 * $1 + 16)) $((origin_y + 16 + 24 + 12))
  xdotool type --delay 50 "$2"; sleep 0.1
}

shot() { import -window root "$work/shot.png"; }
pixel() {  # x y -> "r,g,b"
  convert "$work/shot.png" -format '%[fx:int(255*p{'"$1"','"$2"'}.r)],%[fx:int(255*p{'"$1"','"$2"'}.g)],%[fx:int(255*p{'"$1"','"$2"'}.b)]' info:
}
cell_pixel() { pixel "$(cell_x "$1")" "$(cell_y "$1")"; }
removed() { [[ $(cell_pixel "$1") == "255,255,255" ]]; }  # the white frame shows through
# Takes screenshots until CHECK holds (the game may still be catching up with
# the clicks on a busy machine), for five seconds at most.
eventually() {
  for _ in $(seq 50); do shot; "$@" && return 0; sleep 0.1; done
  return 1
}
on_board() { for n in "$@"; do removed "$n" && return 1; done; return 0; }
off_board() { for n in "$@"; do removed "$n" || return 1; done; return 0; }
orange_on() { [[ $(cell_pixel "$1") == "255,128,64" ]]; }

# The message box that is up, if any: another visible window of the game.
message_box() { xdotool search --onlyvisible --name "^Morvane's Challenge" | grep -vx "$main" | head -n1 || true; }
close_message_box() {
  local box
  for _ in $(seq 30); do box=$(message_box); [[ -n $box ]] && break; sleep 0.1; done
  [[ -n $box ]] || fail "no message box appeared ($1)"
  xdotool windowfocus --sync "$box" key Return
  for _ in $(seq 30); do [[ -z $(message_box) ]] && return; sleep 0.1; done
  fail "the message box did not close ($1)"
}

# 1. Build a board by dragging the player onto cell 1, then OK.
click_code_button
xdotool mousemove $((origin_x + 200 + 14)) $((origin_y + 308 + 18)) mousedown 1 sleep 0.2 \
  mousemove $((origin_x + 200 + 10)) $((origin_y + 290)) sleep 0.2 \
  mousemove "$(cell_x 1)" "$(cell_y 1)" sleep 0.3 mouseup 1
sleep 0.3
click_code_button
eventually on_board $(seq 28) || fail "the board built by dragging is not whole"

# 2. Walk every row to the last cell but one.
for n in 2 3 4 5 6 7 14 13 12 11 10 9 8 15 16 17 18 19 20 21 28 27 26 25 24 23; do click_cell "$n"; done
eventually off_board $(seq 21) 24 25 26 27 28 || fail "cells are still on the board after the walk"
on_board 22 23 || fail "cell 22 or 23 went too early"

# 3. The last move wins: the box is up over the last cell standing.
click_cell 22
for _ in $(seq 50); do [[ -n $(message_box) ]] && break; sleep 0.1; done
eventually off_board 23 || fail "the cell left behind is still shown behind the win message"
on_board 22 || fail "the last cell is not shown behind the win message"
close_message_box "win"
eventually on_board $(seq 28) || fail "the new board is not whole"

# 4. A lost game: player on 2, orange on 1; the move to 1 strands the player.
click_code_button
type_box 0 2
type_box 6 1
click_code_button
click_cell 1
close_message_box "loss"
eventually on_board $(seq 28) || fail "the board played again is not whole"
eventually orange_on 1 || fail "the orange piece is not back on cell 1 ($(cell_pixel 1))"

echo "real window: drag, win and loss played"
