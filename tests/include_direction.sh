#!/bin/bash
# The includes run one way: the game at the bottom, the solver on it, the
# help viewer beside them, the window on all three and the driver on top.
# A file that includes from a folder above its own (or Qt, in the game)
# fails this test, with its line.
src=${1:?usage: include_direction.sh SRC_FOLDER}
failed=0

# check FOLDER PATTERN WHY: no file of FOLDER may have an include matching PATTERN.
check() {
  local hits
  hits=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($2)" "$src/$1" 2>/dev/null)
  if [[ -n $hits ]]; then
    echo "FAIL $1 includes one of $3:"; echo "$hits"; failed=1
  else
    echo "ok   $1 includes none of $3"
  fi
}

check game 'Q|app/|solve/|help/|drive/|thread>|mutex>|filesystem>' "Qt, threads, files, app, solve, help, drive"
check solve 'Q|app/|help/|drive/' "Qt, app, help, drive"
check help 'game/|solve/|app/|drive/' "game, solve, app, drive"
check web 'Q|app/|help/|drive/' "Qt, app, help, drive"
check app 'drive/' "drive"
exit $failed
