#!/bin/sh
# Runs a window test on a private X display (run_under_xvfb.sh) with a desktop notification
# service of its own: a private D-Bus session bus and the dunst notification daemon on that
# display. Both end with the test; neither writes to the test's standard output.
set -eu
here=$(dirname "$0")
if [ -z "${LARKSPIN_NOTIFY_DISPLAY_READY:-}" ]; then
  LARKSPIN_NOTIFY_DISPLAY_READY=1 exec "$here/run_under_xvfb.sh" "$0" "$@"
fi

bus=$(mktemp)
dbus-daemon --session --fork --print-address=1 --print-pid=1 >"$bus" 2>/dev/null
DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p "$bus")
bus_pid=$(sed -n 2p "$bus")
rm -f "$bus"
export DBUS_SESSION_BUS_ADDRESS
dunst >/dev/null 2>&1 &
dunst_pid=$!
trap 'kill "$dunst_pid" "$bus_pid" 2>/dev/null || true' EXIT

# The service is there once its name has an owner on the bus.
for _ in $(seq 100); do
  if dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.freedesktop.Notifications 2>/dev/null | grep -q true; then
    break
  fi
  sleep 0.1
done
status=0
"$@" || status=$?
exit "$status"
