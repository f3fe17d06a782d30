#!/usr/bin/env bash
# Checks that the game's cues really come out of the sound server.
#
#     sound_output.sh CUE_PLAY PROGRAM_FOLDER [CUE_PLAYER_TESTS]
#
# Starts a private PulseAudio daemon whose only output is a null sink, records
# that sink's monitor while CUE_PLAY plays each cue from PROGRAM_FOLDER through
# the game's cue player, and compares each recording with its WAV file by its
# content: the sounding part of the recording must last as long as the one
# in the file and follow the same envelope, and be about as loud. Silence
# around or inside the recording (a busy machine starts a sound late, or
# lets the sound server fall behind for a moment) does not count, and
# nothing here depends on how fast the machine is. Runs that should make no
# sound (nothing asked for, a missing file, a missing folder) must record
# silence, and none of them may hang. CUE_PLAYER_TESTS, when given, is run
# against the same server, so that its cases that need an audio device run
# too. PROGRAM_FOLDER may also be an installed bin/ folder whose cues are in
# ../share/morvane, as the game finds them.
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
LEVEL=0.003         # RMS of a 10 ms block above which it sounds
SOUND_SLACK=0.05    # seconds the sounding part may differ by
LIKENESS=0.9        # least correlation of the envelopes' sounding blocks
LOUD_MIN=0.8        # recorded peak as a share of the file's peak, at least
LOUD_MAX=1.05       # and at most
QUIET=0.002         # peak of a recording that counts as silence

for tool in pulseaudio pactl parec sox soxi timeout; do
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
# It lives as long as the test may (its timeout in CMakeLists.txt).
timeout 300 pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes \
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

# energy SOX-ARGS...: the mean square of each 2.5 ms stretch of a sound,
# one a line; sox arguments describing the file come first.
energy() {
  sox "$@" -t dat -c 1 -r "$RATE" - 2>/dev/null | awk -v part=$((RATE / 400)) '
    /^;/ { next }
    { s += $2 * $2; n++; if (n == part) { printf "%.8f\n", s / n; s = 0; n = 0 } }
    END { if (n > 0) printf "%.8f\n", s / n }'
}
# peak SOX-ARGS...: the largest sample of a sound, 0 to 1.
peak() {
  local p
  p=$(sox "$@" -n stat 2>&1 | awk '/^Maximum amplitude/ {print $3}')
  echo "${p:-0}"
}
# compare WANT TAKE: two energy files, the wanted sound's and the
# recording's. Prints "<seconds of sound wanted> <seconds of sound taken>
# <likeness>". Both are cut into 10 ms blocks, the recording's four ways a
# quarter block apart (its blocks fall anywhere), and blocks above $LEVEL
# (RMS) sound. The likeness is the best correlation of the levels of the two
# sequences of sounding blocks, in order, shifted by up to 3 blocks either
# way. Silent blocks anywhere (padding, a gap while the sound server caught
# up) are left out first.
compare() {
  awk -v floor="$LEVEL" '
    FNR == 1 { f++ }
    { if (f == 1) w[nw++] = $1; else t[nt++] = $1 }
    # The sounding 10 ms blocks of x (n parts), from part `from`, into out.
    function blocks(x, n, from, out,    i, k, m) {
      m = 0
      for (i = from; i + 3 < n; i += 4) {
        k = sqrt((x[i] + x[i + 1] + x[i + 2] + x[i + 3]) / 4)
        if (k > floor) out[m++] = k
      }
      return m
    }
    function likeness(na, nb,    lag, i, j, n, sa, sb, saa, sbb, sab, va, vb, r, best) {
      best = -1
      for (lag = -3; lag <= 3; lag++) {
        n = 0; sa = sb = saa = sbb = sab = 0
        for (i = 0; i < na; i++) {
          j = i + lag
          if (j < 0 || j >= nb) continue
          n++; sa += a[i]; sb += b[j]; saa += a[i] * a[i]; sbb += b[j] * b[j]; sab += a[i] * b[j]
        }
        if (n < 3) continue
        va = saa - sa * sa / n; vb = sbb - sb * sb / n
        if (va <= 0 || vb <= 0) continue
        r = (sab - sa * sb / n) / sqrt(va * vb)
        if (r > best) best = r
      }
      return best
    }
    END {
      na = blocks(w, nw, 0, a)
      best = -2
      for (phase = 0; phase < 4; phase++) {
        delete b
        nb = blocks(t, nt, phase, b)
        r = likeness(na, nb)
        if (r > best) { best = r; got = nb }
      }
      printf "%.2f %.2f %.3f\n", na / 100, got / 100, best
    }' "$1" "$2"
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
  sleep 0.3   # let the last of it reach the recording
  tail -c +$((from + 1)) "$RT/all.raw" | head -c $(($(size) - from)) >"$RT/take.raw"
  if [[ $status -ne 0 ]]; then
    echo "cue_play $* exited with $status:"; cat "$RT/play.log"
    return 1
  fi
}

# near X C D: X lies within D of C.  scaled X W LO HI: X lies between LO
# and HI times W.  above X Y: X is at least Y.
near() { awk -v x="$1" -v c="$2" -v d="$3" 'BEGIN { exit !(x >= c - d && x <= c + d) }'; }
scaled() { awk -v x="$1" -v w="$2" -v lo="$3" -v hi="$4" 'BEGIN { exit !(x >= w * lo && x <= w * hi) }'; }
above() { awk -v x="$1" -v y="$2" 'BEGIN { exit !(x >= y) }'; }

# judge NAME WANT_ENERGY WANT_PEAK: the last take against what was wanted.
judge() {
  local want got have like take_peak
  energy "${raw[@]}" "$RT/take.raw" >"$RT/take.energy"
  read -r want got like < <(compare "$2" "$RT/take.energy")
  take_peak=$(peak "${raw[@]}" "$RT/take.raw")
  have="$1: ${got}s of sound at peak $take_peak, likeness $like; file has ${want}s at $3"
  if near "$got" "$want" "$SOUND_SLACK" && above "$like" "$LIKENESS" &&
     scaled "$take_peak" "$3" "$LOUD_MIN" "$LOUD_MAX"; then
    pass "$have"
  else
    fail "$have"
  fi
}

for cue in "${cues[@]}"; do
  if [[ ! -f $files/$cue ]]; then fail "$cue: not in $files"; continue; fi
  energy "$files/$cue" >"$RT/want.energy"
  # Long enough to hear the whole cue even if it starts late.
  stay=$(awk -v s="$(soxi -D "$files/$cue")" 'BEGIN { printf "%d", (s + 0.6) * 1000 }')
  if ! record "$folder" --stay "$stay" "$cue"; then fail "$cue: playing"; continue; fi
  judge "$cue" "$RT/want.energy" "$(peak "$files/$cue")"
done

# A preloaded cue plays again when asked for again: twice the sound of one.
energy "$files/no.wav" >"$RT/one.energy"
cat "$RT/one.energy" "$RT/one.energy" >"$RT/want.energy"
if record "$folder" --gap 700 --stay 1300 no.wav no.wav; then
  judge "no.wav twice" "$RT/want.energy" "$(peak "$files/no.wav")"
else
  fail "no.wav twice: playing"
fi

# Runs that must stay silent, and must not hang or fail either.
silent() {
  local name=$1; shift
  if ! record "$@"; then fail "$name: playing"; return; fi
  local loudest
  loudest=$(peak "${raw[@]}" "$RT/take.raw")
  if near "$loudest" 0 "$QUIET"; then pass "$name: silent (peak $loudest)"
  else fail "$name: expected silence, recorded peak $loudest"; fi
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
