# Sourced by the sound tests: starts a private PulseAudio daemon whose only
# output is a null sink named "cue", in a runtime folder of its own, and
# points PULSE_SERVER at it. start_sound_server returns non-zero (after
# printing the daemon's log) when it does not come up; stop_sound_server
# ends it and removes the folder.

sound_daemon=
sound_runtime=

start_sound_server() {
  sound_runtime=$(mktemp -d "${TMPDIR:-/tmp}/cue-sound.XXXXXX")
  export XDG_RUNTIME_DIR=$sound_runtime HOME=$sound_runtime PULSE_SERVER=unix:$sound_runtime/native
  unset DISPLAY DBUS_SESSION_BUS_ADDRESS
  # The daemon warns when run as root and about the missing D-Bus, and plays on.
  timeout 600 pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes \
    --use-pid-file=no --log-target=stderr \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$sound_runtime/native" \
    -L "module-null-sink sink_name=cue" 2>"$sound_runtime/daemon.log" &
  sound_daemon=$!
  for _ in $(seq 100); do
    [[ -S $sound_runtime/native ]] && timeout 5 pactl info >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "the private sound server did not start:"; cat "$sound_runtime/daemon.log"
  return 1
}

stop_sound_server() {
  [[ -n $sound_daemon ]] && kill "$sound_daemon" 2>/dev/null && wait "$sound_daemon" 2>/dev/null
  [[ -n $sound_runtime ]] && rm -rf "$sound_runtime"
  sound_daemon=
  sound_runtime=
}
