#!/usr/bin/env bash
# Runs atspi_client.py against the real game on its own X display and its
# own D-Bus session with at-spi2-core's accessibility bus.
#
#   atspi_test.sh MORVANE MORVANE_SOLVE
set -euo pipefail
source "$(dirname "$0")/x_session.sh"
status=0
dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  trap "kill $! 2>/dev/null" EXIT
  for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
      >/dev/null 2>&1 && break
    sleep 0.1
  done
  /usr/bin/python3 "$0" "$@"
' "$(dirname "$0")/atspi_client.py" "$@" 2> "$work/errors" || status=$?
# The buses' own chatter (no fd limit for root, services started) is dropped.
grep -v -e "Failed to set fd limit" -e "dbus-daemon" -e "SpiRegistry" "$work/errors" >&2 || true
exit $status
