#!/usr/bin/env bash
# Starts the real game again and again on a virtual X display with a private
# PulseAudio server (a null sink), plays cues in each run and ends it: by
# Ctrl+Q, by the close button (WM_DELETE_WINDOW) and by SIGTERM, in turn.
# Counts the runs that end cleanly (status 0, or SIGTERM's own end), that
# crash (any other signal or status) and that hang (no end within a
# watchdog's generous time). Fails on any crash or hang. A run whose window
# does not show within the watchdog's time (a machine too busy) is ended
# and counted apart.
#
# With DRIVER, morvane-drive also runs a short game in each run (its window
# opens the same cue player) and must end with status 0.
#
#   exit_runs.sh PROGRAM RUNS [DRIVER]
set -uo pipefail
usage="usage: exit_runs.sh PROGRAM RUNS [DRIVER]"
program=${1:?$usage}
runs=${2:?$usage}
driver=${3:-}
here=$(dirname "$0")
source "$here/x_session.sh"
display=$DISPLAY
source "$here/private_sound_server.sh"
start_sound_server || exit 1
export DISPLAY=$display
trap 'stop_sound_server; cleanup' EXIT

clean=0 crashed=0 hung=0 unseen=0 driven=0 driver_failed=0
for ((run = 0; run < runs; run++)); do
  if [[ -n $driver ]]; then
    printf 'seed %d\nclick Randomizer_button\nclick Square(9)\nkey F1\ndump\n' "$run" |
      QT_QPA_PLATFORM=offscreen timeout 60 "$driver" >/dev/null 2>"$work/drive.log"
    status=$?
    driven=$((driven + 1))
    if [[ $status != 0 ]]; then
      driver_failed=$((driver_failed + 1)); echo "run $run: the driver ended with status $status"; tail -n 5 "$work/drive.log"
    fi
  fi
  way=$(( run % 3 ))
  "$program" 9,23,28,21,15,4,27 >"$work/run.log" 2>&1 &  # placing the board plays a cue
  game=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$game" --name "^Morvane's Challenge II$" 2>/dev/null | head -n1)
  if [[ -n $window ]]; then
    # A new board three times, each with its cue, while the last still plays.
    xdotool windowfocus --sync "$window" key ctrl+n ctrl+n ctrl+n 2>/dev/null
    sleep 0.$((RANDOM % 3))
    case $way in
      0) xdotool windowfocus --sync "$window" key ctrl+q 2>/dev/null ;;
      1) python3 "$here/close_window.py" "$window" ;;
      2) kill -TERM "$game" ;;
    esac
  else
    unseen=$((unseen + 1)); echo "run $run: no window"; kill -KILL "$game"; wait "$game" 2>/dev/null
    continue
  fi
  for _ in $(seq 300); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$game" 2>/dev/null; then
    hung=$((hung + 1)); echo "run $run (way $way): no end"; kill -KILL "$game"; wait "$game" 2>/dev/null
    continue
  fi
  wait "$game"; status=$?
  if [[ $status == 0 || ($way == 2 && $status == 143) ]]; then
    clean=$((clean + 1))
  else
    crashed=$((crashed + 1)); echo "run $run (way $way): status $status"; tail -n 5 "$work/run.log"
  fi
done
echo "runs $runs: clean $clean, crashed $crashed, hung $hung, no window $unseen"
[[ -z $driver ]] || echo "driver runs $driven: failed $driver_failed"
[[ $crashed == 0 && $hung == 0 && $driver_failed == 0 ]]
