#!/usr/bin/env bash
# Checks that the game's cues really come out of the sound server.
#
#     sound_output.sh CUE_PLAY PROGRAM_FOLDER [CUE_PLAYER_TESTS]
#
# Starts a private PulseAudio daemon whose only output is a null sink, records
# that sink's monitor while CUE_PLAY plays each cue from PROGRAM_FOLDER through
# the game's cue player, and compares each recording with its WAV file: the
# stretch of sound recorded must be about as long and as loud as the one in
# the file. Runs that should make no sound (nothing asked for, a missing
# file, a missing folder) must record silence, and none of them may hold the
# program up. PROGRAM_FOLDER may also be an installed bin/ folder whose cues
# are in ../share/morvane, as the game finds them. CUE_PLAYER_TESTS, when given, is run against the same server,
# so that its cases that need an audio device run too.
set -uo pipefail

usage="usage: sound_output.sh CUE_PLAY PROGRAM_FOLDER [CUE_PLAYER_TESTS]"
cue_play=${1:?$usage}
folder=${2:?$usage}
unit_tests=${3:-}
cues=(move.wav no.wav won.wav lose.wav Yellow.wav red.wav blue.wav green.wav)
# Where the cue files are, to compare the recordings with.
files=$folder
[[ -f $folder/move.wav || ! -d $folder/../share/morvane ]] || files=$folder/../share/morvane

RATE=44100
SPAN_SLACK=0.05     # seconds the recorded stretch of sound may differ by
LOUD_MIN=0.8        # recorded peak as a share of the file's peak, at least
LOUD_MAX=1.05       # and at most
QUIET=0.002         # peak of a recording that counts as silence
SOUND=0.3%          # level below which sox's silence effect trims

for tool in pulseaudio pactl parec sox timeout; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool (run tools/install-deps)"; exit 1; }
done

RT=$(mktemp -d "${TMPDIR:-/tmp}/cue-sound.XXXXXX")
export XDG_RUNTIME_DIR=$RT HOME=$RT PULSE_SERVER=unix:$RT/native
unset DISPLAY DBUS_SESSION_BUS_ADDRESS
daemon=
recorder=

cleanup() {
  [[ -n $recorder ]] && kill "$recorder" 2>/dev/null && wait "$recorder" 2>/dev/null
  [[ -n $daemon ]] && kill "$daemon" 2>/dev/null && wait "$daemon" 2>/dev/null
  rm -rf "$RT"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# The daemon warns when run as root and about the missing D-Bus, and plays on.
timeout 90 pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes \
  --use-pid-file=no --log-target=stderr \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$RT/native" \
  -L "module-null-sink sink_name=cue" 2>"$RT/daemon.log" &
daemon=$!
for _ in $(seq 100); do
  [[ -S $RT/native ]] && timeout 5 pactl info >/dev/null 2>&1 && break
  sleep 0.1
done
if ! timeout 5 pactl info >/dev/null 2>&1; then
  echo "the private sound server did not start:"; cat "$RT/daemon.log"; exit 1
fi

passed=0
failed=0
pass() { echo "ok   $*"; passed=$((passed + 1)); }
fail() { echo "FAIL $*"; failed=$((failed + 1)); }

# Prints "<seconds from first to last sound> <peak>" of a sound file; sox
# arguments describing the file come first.
measure() {
  local span peak
  span=$(sox "$@" -n silence 1 0.005 "$SOUND" reverse silence 1 0.005 "$SOUND" reverse \
         stat 2>&1 | awk '/^Length/ {print $3}')
  peak=$(sox "$@" -n stat 2>&1 | awk '/^Maximum amplitude/ {print $3}')
  echo "${span:-0} ${peak:-0}"
}
raw=(-t raw -r "$RATE" -e signed -b 16 -c 1)

# One recorder runs for the whole test, so that the sink is always awake;
# each run below takes the stretch recorded while it ran.
parec --latency-msec=20 -d cue.monitor --format=s16le --rate="$RATE" --channels=1 \
  --raw >"$RT/all.raw" 2>"$RT/parec.log" &
recorder=$!
size() { local n; n=$(stat -c %s "$RT/all.raw"); echo $((n - n % 2)); }
for _ in $(seq 100); do [[ $(size) -gt 8820 ]] && break; sleep 0.05; done
if [[ $(size) -le 8820 ]]; then
  echo "the recorder got nothing from the sink:"; cat "$RT/parec.log"; exit 1
fi

# Runs cue_play with the given arguments from another folder than the
# program's; what the sink played meanwhile ends up in $RT/take.raw. Fails
# when cue_play fails or hangs.
record() {
  local from status=0
  from=$(size)
  (cd "$RT" && timeout 10 "$cue_play" "$@") >"$RT/play.log" 2>&1 || status=$?
  sleep 0.15   # let the last of it reach the recording
  tail -c +$((from + 1)) "$RT/all.raw" | head -c $(($(size) - from)) >"$RT/take.raw"
  if [[ $status -ne 0 ]]; then
    echo "cue_play $* exited with $status:"; cat "$RT/play.log"
    return 1
  fi
}

# near X C D: X lies within D of C.  scaled X W LO HI: X lies between LO
# and HI times W.
near() { awk -v x="$1" -v c="$2" -v d="$3" 'BEGIN { exit !(x >= c - d && x <= c + d) }'; }
scaled() { awk -v x="$1" -v w="$2" -v lo="$3" -v hi="$4" 'BEGIN { exit !(x >= w * lo && x <= w * hi) }'; }

for cue in "${cues[@]}"; do
  if [[ ! -f $files/$cue ]]; then fail "$cue: not in $files"; continue; fi
  read -r want_span want_peak < <(measure "$files/$cue")
  stay=$(awk -v s="$want_span" 'BEGIN { printf "%d", (s + 0.3) * 1000 }')
  if ! record "$folder" --stay "$stay" "$cue"; then fail "$cue: playing"; continue; fi
  read -r got_span got_peak < <(measure "${raw[@]}" "$RT/take.raw")
  what="$cue: ${got_span}s of sound at peak $got_peak, file has ${want_span}s at $want_peak"
  if near "$got_span" "$want_span" "$SPAN_SLACK" &&
     scaled "$got_peak" "$want_peak" "$LOUD_MIN" "$LOUD_MAX"; then
    pass "$what"
  else
    fail "$what"
  fi
done

# A preloaded cue plays again when asked for again.
read -r want_span _ < <(measure "$files/no.wav")
if record "$folder" --gap 500 --stay 700 no.wav no.wav; then
  read -r got_span _ < <(measure "${raw[@]}" "$RT/take.raw")
  what="no.wav twice, 0.5 s apart: ${got_span}s from first to last sound"
  if near "$got_span" "$(awk -v s="$want_span" 'BEGIN { print s + 0.5 }')" 0.1; then
    pass "$what"
  else
    fail "$what, expected 0.5s more than the ${want_span}s of one"
  fi
else
  fail "no.wav twice: playing"
fi

# Runs that must stay silent, and must not hang or fail either.
silent() {
  local name=$1; shift
  if ! record "$@"; then fail "$name: playing"; return; fi
  local span peak
  read -r span peak < <(measure "${raw[@]}" "$RT/take.raw")
  if near "$peak" 0 "$QUIET"; then pass "$name: silent (peak $peak)"
  else fail "$name: expected silence, recorded peak $peak"; fi
}
silent "no cue" "$folder" --stay 600
silent "missing file" "$folder" --stay 600 nonexistent.wav
silent "missing folder" "$RT/no-such-folder" --stay 600 "${cues[@]}"

# Without any sound server the cues are silent and hold nothing up.
start=$(date +%s%N)
if PULSE_SERVER=unix:$RT/no-server timeout 10 "$cue_play" "$folder" --stay 200 \
     "${cues[@]}" >"$RT/play.log" 2>&1; then
  pass "no sound server: played on in $(( ($(date +%s%N) - start) / 1000000 )) ms"
else
  fail "no sound server: cue_play failed or hung"; cat "$RT/play.log"
fi

if [[ -n $unit_tests ]]; then
  if (cd "$RT" && timeout 30 "$unit_tests") >"$RT/unit.log" 2>&1 &&
     ! grep -q '^\[  SKIPPED \]' "$RT/unit.log"; then
    pass "cue player tests with a sound server"
  else
    fail "cue player tests with a sound server:"; cat "$RT/unit.log"
  fi
fi

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
