#!/usr/bin/env bash
# The real game as a native Wayland client of weston, in a private runtime
# folder:
#
# 1. On weston's headless backend, with no X display at all, the game
#    comes up on its own as a Wayland window (its title is seen going over
#    the wire) and stays up; with DISPLAY naming no server beside it too.
# 2. Played through real input. Weston's headless backend has no seat (no
#    keyboard, no pointer) and no protocol to inject input (neither
#    weston's test protocol, which Debian does not ship, nor the virtual
#    keyboard one that wtype needs), so here weston runs on its X11 backend
#    inside a private Xvfb: xdotool's keys and mouse reach weston's seat,
#    and weston hands them to the game as Wayland input. The game builds a
#    board by dragging the player onto a cell, keeps the keyboard after the
#    drop (Ctrl+E places the board), walks the whole board with the
#    keypad, with and without Num Lock, to the win, closes the message with
#    Enter and gets a new board; F1 opens the help.
#
#   wayland_test.sh PROGRAM
set -euo pipefail
program=$(realpath "$1")
work=$(mktemp -d)
chmod 700 "$work"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [[ -n ${DISPLAY:-} ]] && import -window root /tmp/wayland_failure.png 2>/dev/null; exit 1; }
export XDG_RUNTIME_DIR=$work HOME=$work PULSE_SERVER=unix:$work/no-sound-server
unset WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_SESSION_TYPE DISPLAY
wait_for_socket() { for _ in $(seq 100); do [[ -S $work/$1 ]] && return 0; sleep 0.1; done; return 1; }

# --- 1. headless ---------------------------------------------------------------
weston --backend=headless-backend.so --socket=headless --idle-time=0 --no-config \
  >"$work/weston-headless.log" 2>&1 &
pids+=($!)
wait_for_socket headless || { cat "$work/weston-headless.log"; fail "headless weston did not start"; }
for display in "" ":598"; do
  status=0
  env ${display:+DISPLAY=$display} WAYLAND_DISPLAY=headless WAYLAND_DEBUG=client \
    timeout 4 "$program" >/dev/null 2>"$work/game-headless.log" || status=$?
  [[ $status == 124 ]] || { tail -n 5 "$work/game-headless.log"; fail "on headless weston (DISPLAY=$display) the game ended with $status"; }
  grep -q "xdg_toplevel@[0-9]*\.set_title(\"Morvane's Challenge II\")" "$work/game-headless.log" ||
    fail "the game did not open its window on headless weston (DISPLAY=$display)"
done
echo "ok   the game runs on headless weston, with no X display and with one that is not there"

# --- 2. real input ---------------------------------------------------------------
exec 3<>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
x_display=":$(head -n1 "$work/display")"
# The kiosk shell shows the window at the middle of weston's output, so
# its place is known.
DISPLAY=$x_display weston --backend=x11-backend.so --use-pixman --shell=kiosk-shell.so --socket=seat \
  --width=800 --height=600 --idle-time=0 --no-config >"$work/weston-x11.log" 2>&1 &
pids+=($!)
wait_for_socket seat || { cat "$work/weston-x11.log"; fail "weston on X11 did not start"; }
export DISPLAY=$x_display  # for xdotool and import only: the game gets none
env -u DISPLAY WAYLAND_DISPLAY=seat "$program" >"$work/game.log" 2>&1 &
game=$!
pids+=($game)
origin_x=$(((800 - 527) / 2)) origin_y=$(((600 - 367) / 2))

shot() { import -window root "$work/shot.png"; }
pixel() {  # x y -> "r,g,b"
  convert "$work/shot.png" -format '%[fx:int(255*p{'"$1"','"$2"'}.r)],%[fx:int(255*p{'"$1"','"$2"'}.g)],%[fx:int(255*p{'"$1"','"$2"'}.b)]' info:
}
eventually() { for _ in $(seq 100); do shot; "$@" && return 0; sleep 0.1; done; return 1; }
cell_x() { echo $((origin_x + 176 + 48 * (($1 - 1) % 7) + 24)); }
cell_y() { echo $((origin_y + 96 + 48 * (($1 - 1) / 7) + 24)); }
removed() { [[ $(pixel "$(cell_x "$1")" "$(cell_y "$1")") == "255,255,255" ]]; }
player_on() {  # the figure's green suit shows in the cell
  convert "$work/shot.png" -crop 30x30+$(($(cell_x "$1") - 15))+$(($(cell_y "$1") - 15)) -format %c histogram:info:- |
    grep -q '(0,176,0)'
}
window_up() {  # the window's face and the white frame round the board
  [[ $(pixel $((origin_x + 3)) $((origin_y + 3))) == "192,192,192" &&
     $(pixel $((origin_x + 170)) $((origin_y + 90))) == "255,255,255" ]]
}
palette_hidden() { [[ $(pixel $((origin_x + 258)) $((origin_y + 326))) == "192,192,192" ]]; }
placed() { palette_hidden && whole_board; }
whole_board() { for n in $(seq 28); do removed "$n" && return 1; done; return 0; }
key() { xdotool key --delay 60 "$@"; sleep 0.1; }

eventually window_up || fail "the window did not come up at the middle of weston's output"
# Weston gives the keyboard to the window that is clicked (the window's face).
xdotool mousemove $((origin_x + 160)) $((origin_y + 300)) click 1

# Code entry; the player dragged from the palette onto cell 1.
key ctrl+e
xdotool mousemove $((origin_x + 214)) $((origin_y + 326)) mousedown 1
for step in $(seq 10); do xdotool mousemove $((origin_x + 214 - step)) $((origin_y + 326 - 20 * step)); sleep 0.03; done
xdotool mousemove "$(cell_x 1)" "$(cell_y 1)"; sleep 0.1
xdotool mouseup 1
xdotool mousemove $((origin_x + 160)) $((origin_y + 300))  # the pointer off the board
eventually player_on 1 || fail "the dragged player is not on cell 1"
# The keyboard stayed with the window: Ctrl+E places the board.
key ctrl+e
eventually placed || fail "after the drop Ctrl+E did not place the board"
player_on 1 || fail "the placed board has no player on cell 1"

# The whole board row by row with the keypad. xdotool locks Num Lock for
# each digit key (KP_6) by pressing it, so that the digits and the
# directions (KP_Right) alternate; the last row asks for the directions.
moves=()
for _ in 1 2 3 4 5 6; do moves+=(KP_6); done; moves+=(KP_2)
for _ in 1 2 3 4 5 6; do moves+=(KP_4); done; moves+=(KP_2)
for _ in 1 2 3 4 5 6; do moves+=(KP_6); done
count=0
for move in "${moves[@]}"; do key "$move"; count=$((count + 1)); done
eventually removed 20 || fail "the keypad did not walk the player to cell 21"
player_on 21 || fail "the player is not on cell 21 after $count keypad moves"
# Num Lock off by its own key, then the directions.
key Num_Lock
sleep 0.5
key KP_Down
for _ in 1 2 3 4 5; do key KP_Left; done
eventually player_on 23 || fail "the keypad's directions did not walk the player to cell 23"
key KP_Left  # the last move: only cell 22 is left, the game is won
eventually removed 23 || fail "the winning move was not made"
# The message box has the keyboard; Enter closes it and a new board is dealt.
sleep 0.5
key Return
eventually placed || fail "after the win no new board came"

# Weston's kiosk shell gives the keyboard back to no window when a message
# box closes (its desktop shell gives it to the game): a click does.
xdotool mousemove $((origin_x + 160)) $((origin_y + 300)) click 1
# F1 opens the help window over the game.
before=$(pixel $((origin_x + 300)) $((origin_y + 200)))
key F1
changed() { [[ $(pixel $((origin_x + 300)) $((origin_y + 200))) != "$before" ]]; }
eventually changed || fail "F1 did not open the help"
kill -0 "$game" 2>/dev/null || { cat "$work/game.log"; fail "the game ended"; }
import -window root /tmp/wayland_last.png 2>/dev/null || true
echo "ok   on weston with real input: a board built by dragging, $((count + 7)) keypad moves to the win, a new board, help"
