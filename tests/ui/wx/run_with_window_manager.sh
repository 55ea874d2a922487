#!/bin/sh
# Runs a program under run_under_xvfb.sh with openbox managing the display's windows, as on a
# desktop: windows get frames, focus and stacking from the window manager.
if [ -z "$LARKSPIN_WINDOW_MANAGER_STARTED" ]; then
  export LARKSPIN_WINDOW_MANAGER_STARTED=1
  exec "$(dirname "$0")/run_under_xvfb.sh" "$0" "$@"
fi
openbox >/dev/null 2>&1 &
manager=$!
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
"$@"
status=$?
kill "$manager" 2>/dev/null
exit $status
