#!/usr/bin/env bash
# A whole session on the real game with the keyboard alone (xdotool keys,
# no mouse): deal a board, copy its code through the real clipboard, win it
# with the cursor and Enter and the keypad, build a board in code entry with
# the figure keys, paste a code into the boxes, and quit with Ctrl+Q.
#
#   keyboard_test.sh PROGRAM MORVANE_SOLVE
set -euo pipefail
program=$1 solve=$2
source "$(dirname "$0")/x_session.sh"
fail() { echo "FAIL: $*" >&2; import -window root /tmp/keyboard_failure.png 2>/dev/null || true; exit 1; }

"$program" >/dev/null 2>&1 &
game=$!
pids+=($game)
main=$(timeout 20 xdotool search --sync --onlyvisible --name "^Morvane's Challenge II$" | head -n1)
[[ -n $main ]] || fail "the window did not appear"
xdotool windowfocus --sync "$main"
eval "$(xdotool getwindowgeometry --shell "$main")"
origin_x=$X origin_y=$Y

key() { xdotool key --delay 40 "$@"; sleep 0.15; }
shot() { import -window root "$work/shot.png"; }
pixel() {  # x y -> "r,g,b"
  convert "$work/shot.png" -format '%[fx:int(255*p{'"$1"','"$2"'}.r)],%[fx:int(255*p{'"$1"','"$2"'}.g)],%[fx:int(255*p{'"$1"','"$2"'}.b)]' info:
}
# Cell n's left edge and middle height on the screen.
cell_left() { echo $((origin_x + 176 + 48 * (($1 - 1) % 7))); }
cell_middle() { echo $((origin_y + 96 + 48 * (($1 - 1) / 7) + 24)); }
cell_top() { echo $((origin_y + 96 + 48 * (($1 - 1) / 7))); }
# The cursor frame on cell n: dark outside, bright inside (at the corner:
# the bright ring is broken on a cell that is not a legal move).
cursor_on() {
  [[ $(pixel $(($(cell_left "$1") + 1)) "$(cell_middle "$1")") == "0,0,0" &&
     $(pixel $(($(cell_left "$1") + 4)) $(($(cell_top "$1") + 4))) == "255,255,64" ]]
}
# Takes screenshots until CHECK holds (the game may lag behind the keys on a
# busy machine); ten seconds at most, as a hang guard.
eventually() { for _ in $(seq 100); do shot; "$@" && return 0; sleep 0.1; done; return 1; }
clipboard() { timeout 5 xclip -o -selection clipboard 2>/dev/null || true; }
copied_code() {  # Ctrl+C, then what the clipboard holds once the game has taken it
  printf 'nothing yet' | xclip -i -selection clipboard
  key ctrl+c
  local text
  for _ in $(seq 100); do text=$(clipboard); [[ $text != "nothing yet" ]] && break; sleep 0.1; done
  printf '%s' "$text"
}
message_box() { xdotool search --onlyvisible --name "^Morvane's Challenge" | grep -vx "$main" | head -n1 || true; }
close_message_box() {
  local box=
  for _ in $(seq 200); do box=$(message_box); [[ -n $box ]] && break; sleep 0.1; done
  [[ -n $box ]] || fail "no message box appeared ($1)"
  xdotool windowfocus --sync "$box" key Return
  for _ in $(seq 200); do [[ -z $(message_box) ]] && break; sleep 0.1; done
  xdotool windowfocus --sync "$main"
}

# 1. Deal boards with Ctrl+N until the solver can win one; its code comes
#    through the real clipboard.
line=
for _ in $(seq 10); do
  key ctrl+n
  code=$(copied_code)
  [[ $code =~ ^[0-9]+(,[0-9]+){6}$ ]] || fail "Ctrl+C copied '$code', not a dealt board code"
  line=$("$solve" "$code")
  [[ $line =~ ^[0-9\ ]+$ ]] && break
done
[[ $line =~ ^[0-9\ ]+$ ]] || fail "no winnable board in ten deals"
player=${code%%,*}
eventually cursor_on "$player" || fail "the cursor frame is not on the player's cell $player"

# 2. Win it: the cursor walks to each cell of the line and Enter moves
#    there; every other move goes by the keypad instead.
cursor=$player
step=0
for n in $line; do
  step=$((step + 1))
  rows=$(((n - 1) / 7 - (cursor - 1) / 7)) columns=$(((n - 1) % 7 - (cursor - 1) % 7))
  if ((step % 2 == 0)); then
    case "$rows,$columns" in
      -1,-1) key KP_7 ;; -1,0) key KP_8 ;; -1,1) key KP_9 ;; 0,-1) key KP_4 ;;
      0,1) key KP_6 ;; 1,-1) key KP_1 ;; 1,0) key KP_2 ;; 1,1) key KP_3 ;;
      *) fail "cell $n is no neighbour of $cursor" ;;
    esac
  else
    while ((rows < 0)); do key Up; rows=$((rows + 1)); done
    while ((rows > 0)); do key Down; rows=$((rows - 1)); done
    while ((columns < 0)); do key Left; columns=$((columns + 1)); done
    while ((columns > 0)); do key Right; columns=$((columns - 1)); done
    if ((step == 1)); then eventually cursor_on "$n" || fail "the cursor did not walk to cell $n"; fi
    key Return
  fi
  cursor=$n
done
close_message_box "win"
next=$(copied_code)
[[ $next =~ ^[0-9]+(,[0-9]+){6}$ ]] || fail "after the win no new board's code was copied ('$next')"

# 3. Build a board with the figure keys: Ctrl+E enters code entry with the
#    first box focused; nine Tabs pass the boxes, OK and Start Over to the
#    board. The cursor goes to the top left corner, then P, Y and O.
key ctrl+e
key Tab Tab Tab Tab Tab Tab Tab Tab Tab
key Up Up Up Left Left Left Left Left Left
key p
key Right Down y
key Down Down Right Right Right Right Right o
key ctrl+e
built=$(copied_code)
[[ $built == "1,9,,,,,28" ]] || fail "the board built by keys copies as '$built', not 1,9,,,,,28"

# 4. Paste codes into the boxes: one from outside, then the dealt one back.
key ctrl+e
printf '21,11,25,1,21,9,14' | xclip -i -selection clipboard
key ctrl+v
key Return
pasted=$(copied_code)
[[ $pasted == "21,11,25,1,21,9,14" ]] || fail "the pasted code placed '$pasted'"
printf '%s' "$code" | xclip -i -selection clipboard
key ctrl+e ctrl+v ctrl+e
again=$(copied_code)
[[ $again == "$code" ]] || fail "the dealt code $code came back as '$again'"

# 5. Ctrl+Q quits.
key ctrl+q
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game" 2>/dev/null && fail "Ctrl+Q did not end the game"
echo "keyboard: dealt $code, won in $(wc -w <<<"$line") moves, built and pasted boards, quit"
