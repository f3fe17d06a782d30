# Sourced by the tests that run the real game: a work folder and a virtual X
# display of their own, silent sound, and everything started stopped at exit
# (add the process ids to `pids`). XVFB_SCREEN (1024x768x24 by default) and
# XVFB_OPTIONS, set before sourcing, shape the display.
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
exec 3<> "$work/display"
Xvfb -displayfd 3 ${XVFB_OPTIONS:-} -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
export XDG_RUNTIME_DIR=$work
export PULSE_SERVER=unix:$work/no-sound-server  # play silently
