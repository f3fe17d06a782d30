#!/usr/bin/env bash
# The real game with a sound server that stops answering (SIGSTOP on a
# private PulseAudio server): stopped before the game starts, stopped while
# cues play, and stopped across Ctrl+Q and resumed later. In each, the
# window keeps answering (each Ctrl+N deals a board that shows, with its
# cue) and Ctrl+Q ends the game. The waits are watchdogs against a window
# or an exit held up by the server, which before waited 30 s and more for
# each cue, and for ever at the exit.
#
#   stopped_sound_server.sh PROGRAM
set -uo pipefail
program=${1:?usage: stopped_sound_server.sh PROGRAM}
here=$(dirname "$0")
source "$here/x_session.sh"
display=$DISPLAY
source "$here/private_sound_server.sh"
start_sound_server || exit 1
export DISPLAY=$display
server=$(pgrep -P "$sound_daemon" pulseaudio)  # under its timeout
[[ -n $server ]] || { echo "no sound server process"; exit 1; }
trap 'kill -CONT "$server" 2>/dev/null; stop_sound_server; cleanup' EXIT

failed=0
fail() { echo "FAIL ($case): $*"; failed=1; }
look() { import -window "$window" png:- 2>/dev/null | md5sum; }
# Ctrl+N, and the window shows the new board within a few seconds.
deal_shows() {
  local before; before=$(look)
  xdotool windowfocus --sync "$window" key ctrl+n 2>/dev/null
  for _ in $(seq 50); do [[ $(look) != "$before" ]] && return 0; sleep 0.1; done
  return 1
}
start_game() {
  "$program" 9,23,28,21,15,4,27 >"$work/game.log" 2>&1 &
  game=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$game" --name "^Morvane's Challenge II$" | head -n1)
  [[ -n $window ]] || fail "no window"
}
# The game ends within the watchdog's time after Ctrl+Q, with status 0.
ends() {
  for _ in $(seq 150); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$game" 2>/dev/null; then fail "the game did not end"; kill -KILL "$game"; fi
  wait "$game"; local status=$?
  [[ $status == 0 ]] || fail "the game ended with status $status"
}

case="stopped before start"
kill -STOP "$server"
start_game
for i in 1 2 3; do deal_shows || fail "deal $i did not show"; done
xdotool windowfocus --sync "$window" key ctrl+q 2>/dev/null
ends
kill -CONT "$server"

case="stopped while cues play"
start_game
deal_shows || fail "the first deal did not show"
kill -STOP "$server"
for i in 1 2 3; do deal_shows || fail "deal $i did not show"; done
xdotool windowfocus --sync "$window" key ctrl+q 2>/dev/null
ends
kill -CONT "$server"

case="stopped across Ctrl+Q, resumed"
start_game
deal_shows || fail "the first deal did not show"
kill -STOP "$server"
deal_shows || fail "the deal did not show"
xdotool windowfocus --sync "$window" key ctrl+q 2>/dev/null
sleep 3
kill -CONT "$server"
ends

[[ $failed == 0 ]] && echo "a stopped sound server held nothing up"
exit $failed
