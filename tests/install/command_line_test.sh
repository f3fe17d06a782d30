#!/usr/bin/env bash
# The programs' command lines: --help, --version, an unknown option and, for
# the game, a machine without a display. Each case checks the exit status
# and the first line the program prints.
#
#   command_line_test.sh BIN_FOLDER
set -uo pipefail
bin=$(realpath "${1:?usage: command_line_test.sh BIN_FOLDER}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# Without a desktop: what a login over ssh or a build machine has.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)

# program | arguments | exit status | first line (a bash pattern) | environment
# (a display named but not there is as good as none: one line, exit 1)
cases=(
  "morvane|--help|0|Usage: morvane *|"
  "morvane|-h|0|Usage: morvane *|"
  "morvane|--version|0|morvane 1.0|"
  "morvane|--bogus|2|morvane: unknown option '--bogus' *|"
  "morvane|-x|2|morvane: unknown option '-x' *|"
  "morvane|9,1,2,3,4,5,6 many|2|morvane: unexpected argument 'many' *|"
  "morvane|hello|2|morvane: 'hello' is not a board code: seven cell numbers *|"
  "morvane|9,23|2|morvane: '9,23' is not a board code: *|"
  "morvane|9,23,28,21,15,4,270|2|morvane: '9,23,28,21,15,4,270' is not a board code: *|"
  "morvane||1|morvane: no display: *DISPLAY*WAYLAND_DISPLAY*|"
  "morvane||1|morvane: no display: *|QT_QPA_PLATFORM=xcb"
  "morvane||1|morvane: no display: *|QT_QPA_PLATFORM=wayland;xcb"
  "morvane||1|morvane: no display: no X server answers on DISPLAY=:598|DISPLAY=:598"
  "morvane||1|morvane: no display: no Wayland compositor answers on WAYLAND_DISPLAY=morvane-none; DISPLAY is not set|WAYLAND_DISPLAY=morvane-none"
  "morvane-solve|--help|0|Usage:|"
  "morvane-solve|--version|0|morvane-solve 1.0|"
  "morvane-solve|--bogus|2|morvane-solve: unknown option '--bogus' *|"
  "morvane-drive|--help|0|Usage: morvane-drive \\[options\\] \\[SCRIPT\\]|"
  "morvane-drive|--version|0|morvane-drive 1.0|"
  "morvane-drive|--bogus 1|2|morvane-drive: unknown option '--bogus' *|"
  "morvane-drive|a b|2|usage: morvane-drive \\[SCRIPT\\]|"
  "morvane-drive|$work/none|2|morvane-drive: cannot read $work/none|"
)

for case in "${cases[@]}"; do
  IFS='|' read -r program arguments want_status want_line environment <<<"$case"
  read -ra args <<<"$arguments"
  extra=()
  [[ -n $environment ]] && extra=("$environment")
  (cd "$work" && "${nodisplay[@]}" "${extra[@]}" timeout 20 "$bin/$program" "${args[@]}") \
    >"$work/out" 2>&1 </dev/null
  status=$?
  line=$(head -n1 "$work/out")
  # shellcheck disable=SC2053  # the wanted line is a pattern
  lines=$(wc -l <"$work/out")
  # A missing display is told in one line, nothing more (no core dump).
  if [[ $status == "$want_status" && $line == $want_line && $lines -ge 1 && ($want_status != 1 || $lines == 1) ]]; then
    echo "ok   $program $arguments ${environment:+($environment)}: $status, $line"
  else
    echo "FAIL $program $arguments ${environment:+($environment)}: exit $status (want $want_status), first line:"
    cat "$work/out"
    failed=$((failed + 1))
  fi
done

# An error is one line; help and version go to standard output.
if [[ $("${nodisplay[@]}" "$bin/morvane" --bogus 2>&1 >/dev/null | wc -l) -ne 1 ]]; then
  echo "FAIL morvane --bogus: the error is not one line"; failed=$((failed + 1))
fi
for program in morvane morvane-solve morvane-drive; do
  if [[ -z $("${nodisplay[@]}" "$bin/$program" --version 2>/dev/null) ]]; then
    echo "FAIL $program --version: nothing on standard output"; failed=$((failed + 1))
  fi
done

# Qt's offscreen platform needs no display: the game starts and stays up
# until it is stopped (the time out only ends the run).
"${nodisplay[@]}" QT_QPA_PLATFORM=offscreen timeout 5 "$bin/morvane" >"$work/out" 2>&1
status=$?
if [[ $status == 124 ]]; then echo "ok   morvane on the offscreen platform ran until stopped"
else echo "FAIL morvane on the offscreen platform exited with $status:"; cat "$work/out"; failed=$((failed + 1)); fi

# The driver keeps its protocol with no display at all.
if out=$(printf 'dump\n' | "${nodisplay[@]}" "$bin/morvane-drive" 2>&1) && [[ $out == '{'*'"Square":['* ]]; then
  echo "ok   morvane-drive without a display dumps the window"
else
  echo "FAIL morvane-drive without a display: $out"; failed=$((failed + 1))
fi

echo "$failed failed"
[[ $failed -eq 0 ]]
