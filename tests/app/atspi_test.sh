#!/usr/bin/env bash
# Runs atspi_client.py against the real game: its own X display, its own
# D-Bus session and the accessibility bus of at-spi2-core on it.
#
#   atspi_test.sh MORVANE MORVANE_SOLVE
set -euo pipefail
here=$(dirname "$0")
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
export XDG_RUNTIME_DIR=$work
export PULSE_SERVER=unix:$work/no-sound-server  # play silently

# The session bus lives as long as the client; the accessibility bus
# launcher and the registry it starts go with it.
status=0
dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  launcher=$!
  trap "kill $launcher 2>/dev/null" EXIT
  for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
      >/dev/null 2>&1 && break
    sleep 0.1
  done
  /usr/bin/python3 "$0" "$@"
' "$here/atspi_client.py" "$@" 2> "$work/errors" || status=$?
# The buses' own chatter (no fd limit for root, services started) is dropped.
grep -v -e "Failed to set fd limit" -e "dbus-daemon" -e "SpiRegistry" "$work/errors" >&2 || true
exit $status
