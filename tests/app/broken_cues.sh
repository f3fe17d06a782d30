#!/usr/bin/env bash
# Broken cue files never hold the game up, with a sound server running.
#
#     broken_cues.sh CUE_PLAY MORVANE_DRIVE PROGRAM_FOLDER
#
# For each broken move.wav below (empty, cut short, a size far beyond the
# file, flipped header bits, not a WAV at all), put beside the other cues of
# PROGRAM_FOLDER: the cue player refuses the file when it loads the cues,
# and CUE_PLAY, and MORVANE_DRIVE at the end of a script, run to their end.
# A private PulseAudio daemon with a null sink plays the part of the sound
# server. The time limit only guards against a hang.
set -uo pipefail

usage="usage: broken_cues.sh CUE_PLAY MORVANE_DRIVE PROGRAM_FOLDER"
cue_play=$(realpath "${1:?$usage}")
drive=$(realpath "${2:?$usage}")
folder=$(realpath "${3:?$usage}")
cues=(move.wav no.wav won.wav lose.wav Yellow.wav red.wav blue.wav green.wav)
GUARD=20   # seconds after which a run counts as hung

source "$(dirname "$0")/private_sound_server.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/broken-cues.XXXXXX")
trap 'stop_sound_server; rm -rf "$work"' EXIT
start_sound_server || exit 1

# The program's folder: every cue, and the driver, whose folder it is.
game=$work/game
mkdir "$game"
for cue in "${cues[@]}"; do cp "$folder/$cue" "$game/" || exit 1; done
cp "$drive" "$game/morvane-drive" || exit 1
good=$folder/move.wav
size=$(stat -c %s "$good")

# put OFFSET HEX...: overwrites bytes of $game/move.wav.
put() {
  local offset=$1; shift
  printf "$(printf '\\x%s' "$@")" | dd of="$game/move.wav" bs=1 seek="$offset" conv=notrunc status=none
}
# flip OFFSET MASK: flips bits of one byte of $game/move.wav.
flip() {
  local byte
  byte=$(od -An -tu1 -j "$1" -N1 "$game/move.wav" | tr -d ' ')
  put "$1" "$(printf '%02x' $((byte ^ $2)))"
}

# Each case writes $game/move.wav.
cases=(
  "empty|: >\"\$game/move.wav\""
  "20 bytes|head -c 20 \"\$good\" >\"\$game/move.wav\""
  "44 bytes, the header alone|head -c 44 \"\$good\" >\"\$game/move.wav\""
  "one byte short|head -c $((size - 1)) \"\$good\" >\"\$game/move.wav\""
  "4 GB of sound data in the header|cp \"\$good\" \"\$game/move.wav\" && put 40 ff ff ff ff"
  "4 GB RIFF size|cp \"\$good\" \"\$game/move.wav\" && put 4 ff ff ff ff"
  "flipped bit in 'fmt '|cp \"\$good\" \"\$game/move.wav\" && flip 12 0x01"
  "odd format size|cp \"\$good\" \"\$game/move.wav\" && flip 16 0x01"
  "flipped bit in 'data'|cp \"\$good\" \"\$game/move.wav\" && flip 37 0x10"
  "more sound data than the file holds|cp \"\$good\" \"\$game/move.wav\" && flip 41 0x40"
  "flipped bit in the frame size|cp \"\$good\" \"\$game/move.wav\" && flip 32 0x04"
  "not a WAV|echo 'not a sound at all' >\"\$game/move.wav\""
)

passed=0
failed=0
pass() { echo "ok   $*"; passed=$((passed + 1)); }
fail() { echo "FAIL $*"; failed=$((failed + 1)); }

script=$'seed 1\nclick Randomizer_button\nclick cinsert\ndump\n'
for entry in "${cases[@]}"; do
  name=${entry%%|*}
  eval "${entry#*|}" || { fail "$name: could not make the file"; continue; }

  # The cue player alone: open, linger, close.
  (cd "$work" && timeout "$GUARD" "$cue_play" "$game" --stay 200) >"$work/play.log" 2>&1
  status=$?
  if [[ $status -eq 124 ]]; then fail "$name: cue_play hung at close"
  elif [[ $status -ne 0 ]]; then fail "$name: cue_play exited with $status"; cat "$work/play.log"
  elif ! grep -q "move.wav refused" "$work/play.log"; then fail "$name: the file was not refused"
  else pass "$name: refused, cue_play ended"; fi

  # The game's window, driven to the end of a script.
  (cd "$work" && timeout "$GUARD" "$game/morvane-drive") <<<"$script" >"$work/drive.out" 2>"$work/drive.err"
  status=$?
  if [[ $status -eq 124 ]]; then fail "$name: morvane-drive hung at the end of its script"
  elif [[ $status -ne 0 ]]; then fail "$name: morvane-drive exited with $status"; cat "$work/drive.err"
  elif ! grep -q '"cell_count"' "$work/drive.out"; then fail "$name: morvane-drive printed no dump"
  else pass "$name: morvane-drive ended"; fi
done

# All eight cues broken at once, and the intact cues for comparison.
for cue in "${cues[@]}"; do : >"$game/$cue"; done
(cd "$work" && timeout "$GUARD" "$cue_play" "$game" --stay 200) >"$work/play.log" 2>&1
status=$?
refused=$(grep -c "refused" "$work/play.log")
if [[ $status -eq 0 && $refused -eq ${#cues[@]} ]]; then pass "every cue empty: all refused, ended"
else fail "every cue empty: exit status $status, $refused refused"; fi
for cue in "${cues[@]}"; do cp "$folder/$cue" "$game/"; done
(cd "$work" && timeout "$GUARD" "$cue_play" "$game" --stay 200) >"$work/play.log" 2>&1
status=$?
if [[ $status -eq 0 ]] && ! grep -q refused "$work/play.log"; then pass "intact cues: none refused"
else fail "intact cues: exit status $status"; cat "$work/play.log"; fi

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
