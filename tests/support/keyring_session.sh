#!/bin/sh
# keyring_session.sh COMMAND...: runs COMMAND against a private Secret Service and returns its
# exit status. A session bus of its own (no activatable services) and gnome-keyring-daemon with
# an unlocked login keyring run in a temporary home; both are ended afterwards. COMMAND sees
# DBUS_SESSION_BUS_ADDRESS of that bus, no DISPLAY, and LARKSPIN_KEYRING_PID (the daemon's id).
# The helpers write to files in the temporary folder, never to the caller's output.
set -u
work=$(mktemp -d)
bus_pid=
keyring_pid=
end_session() {
  [ -n "$keyring_pid" ] && kill -CONT "$keyring_pid" 2>/dev/null && kill "$keyring_pid" 2>/dev/null
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
  [ -n "$keyring_pid" ] && wait "$keyring_pid" 2>/dev/null
  rm -rf "$work"
}
trap end_session EXIT

cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$work</listen>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
dbus-daemon --config-file="$work/bus.conf" --fork --print-address=3 --print-pid=4 \
  3>"$work/bus.address" 4>"$work/bus.pid" </dev/null >"$work/bus.log" 2>&1 || exit 1
bus_pid=$(cat "$work/bus.pid")

export DBUS_SESSION_BUS_ADDRESS="$(cat "$work/bus.address")"
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
export XDG_RUNTIME_DIR="$work/run"
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

printf 'keyring-test' | gnome-keyring-daemon --foreground --unlock --components=secrets \
  >"$work/keyring.log" 2>&1 &
keyring_pid=$!
export LARKSPIN_KEYRING_PID=$keyring_pid

# Ready once the daemon owns the service's name on the bus (at most 10 s).
for _ in $(seq 100); do
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null | grep -q 'boolean true' && break
  sleep 0.1
done

"$@"
